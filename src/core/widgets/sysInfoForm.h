#pragma once
// The modal system-information window: platform, library versions and the
// library's location and size.
#include "core/SystemInfo.h"

#include <QDialog>

class QTreeWidget;

class sysInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit sysInfoForm(const LibraryFacts& facts, QWidget* parent = nullptr);
    QTreeWidget* rows() const { return m_rows; }

private:
    QTreeWidget* m_rows;
    QString m_report;
};
