#pragma once
// The pattern of a rename from tags. OK refuses a pattern without any of the
// tags %N, %T, %A, %B, %Y and keeps the dialog open.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class fnameForm : public QDialog {
    Q_OBJECT
public:
    static const QString DefaultPattern; // "%A - %N - %T"

    explicit fnameForm(QWidget* parent = nullptr);

    // 1 after OK, 2 after Cancel or close.
    int result() const { return m_result; }
    QString pattern() const;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Result = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressOk();
    int m_result = 2;
    bool m_activated = false;
};
