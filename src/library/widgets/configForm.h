#pragma once
// The preferences: eight check boxes, each bound to one setting. OK writes and
// saves the settings; LogoChanged() tells the caller to redraw the list.
#include "core/AppSettings.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QPushButton;

class configForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int OptionCount = 8;
    explicit configForm(AppSettings& settings, QWidget* parent = nullptr);

    // The setting behind check box index.
    static bool AppSettings::*Setting(int index);
    // 1 after OK, 2 after Cancel or close.
    int result() const { return m_result; }
    // After OK: whether the list's logo was switched on or off.
    bool LogoChanged() const { return m_logoChanged; }

    QList<QCheckBox*> cfg_opt;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

private:
    void save();

    AppSettings& m_settings;
    int m_result = 2;
    bool m_logoChanged = false;
};
