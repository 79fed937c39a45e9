#pragma once
// A one-of-N question: the caller sets the caption, adds the choices, shows the
// dialog and reads the result (1 OK, 2 Cancel) and the chosen index.
#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

class optionForm : public QDialog {
    Q_OBJECT
public:
    explicit optionForm(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // Adds a choice below the others.
    void AddOption(const QString& text);
    // Switches choice index on; ignored when out of range.
    void SelectOption(int index);
    // 1 after OK, 2 after Cancel or close.
    int result() const { return m_result; }
    // The first choice switched on; 0 when none is.
    int SelectedIndex() const;

    QList<QRadioButton*> opt;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

private:
    QVBoxLayout* m_options = nullptr;
    int m_result = 2;
};
