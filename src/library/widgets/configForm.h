#pragma once
// The preferences: eight check boxes, each bound to one setting, and the CDDB
// server. OK writes and
// saves the settings; LogoChanged() tells the caller to redraw the list.
#include "core/AppSettings.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
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
    // The CDDB server and the greeting's user and host word.
    QGroupBox* cddbFrame = nullptr;
    QLineEdit* txtServer = nullptr;
    QSpinBox* txtPort = nullptr;
    QLineEdit* txtHelloUser = nullptr;
    QLineEdit* txtHelloHost = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

private:
    void save();
    void buildCddb();

    AppSettings& m_settings;
    int m_result = 2;
    bool m_logoChanged = false;
};
