#pragma once
// The summary of two or more selected files: their number, total size and
// total duration, and the list of their full paths. Read-only.
#include "editing/SelectionSummary.h"

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;

class propMForm : public QDialog {
    Q_OBJECT
public:
    explicit propMForm(QWidget* parent = nullptr);

    void setSummary(const props::SelectionSummary& summary);

    // The horizontal extent the list was given for its widest line (0: none needed).
    int scrollExtent() const { return m_extent; }

    QList<QLabel*> lblInfo; // the captions of the three lines
    QList<QLabel*> info;    // 0: files, 1: total size, 2: total duration
    QListWidget* flist = nullptr;
    QPushButton* closeBut = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void measureList();
    int m_extent = 0;
};
