#pragma once
// The about window: product name, version and logo.
#include <QDialog>

class aboutForm : public QDialog {
    Q_OBJECT
public:
    explicit aboutForm(QWidget* parent = nullptr);
};
