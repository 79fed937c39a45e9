#pragma once
// The chooser of list columns (SelectionType 0) or tree branches (1).
#include "core/AppSettings.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

class listTreeConfig : public QDialog {
    Q_OBJECT
public:
    // titles: the twelve column headers (type 0) or the four branch names (type 1).
    listTreeConfig(int selectionType, const QStringList& titles, const AppSettings& settings,
                   QWidget* parent = nullptr);

    int SelectionType() const { return m_type; }
    // 1 after OK, 2 after Cancel or close.
    int result() const { return m_result; }
    // After OK: writes the ticked states into the settings.
    void applyTo(AppSettings& settings) const;

    QListWidget* List1 = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

private:
    int m_type;
    int m_result = 2;
};
