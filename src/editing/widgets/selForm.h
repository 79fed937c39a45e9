#pragma once
// Choosing or typing one value for many files: a list of values to pick from
// and the value box. OK stays disabled until the value changes; a pick-only
// list (genres) disables the box, so only a pick enables OK.
#include <QDialog>
#include <QList>
#include <QPair>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class selForm : public QDialog {
    Q_OBJECT
public:
    explicit selForm(QWidget* parent = nullptr);

    // Values to offer; each item's data is its position.
    void setValues(const QStringList& values);
    // Pick-only entries (text, number); the value's tag starts as "255".
    void setChoices(const QList<QPair<QString, int>>& choices);

    // 1 after OK, 2 after Cancel or close.
    int result() const { return m_result; }
    // The value's text, and its tag: the data of the item picked last, in decimal.
    QString value() const;
    QString valueTag() const { return m_valueTag; }

    QListWidget* sList = nullptr;
    QLineEdit* Value = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(QListWidgetItem* item);
    void pressOk();
    int m_result = 2;
    QString m_valueTag;
    bool m_activated = false;
    bool m_keyMove = false;
};
