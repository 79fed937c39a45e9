#pragma once
// The splash window shown while the application starts and stops.
#include <QWidget>

class QLabel;
class QFrame;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // versionWord: the word before the version number ("Version" in English).
    explicit frmSplash(const QString& versionWord = QStringLiteral("Version"),
                       QWidget* parent = nullptr);

    // Progress in percent, 0..100; 0 hides the progress shape.
    void setPB(int percent);
    int PB() const { return m_percent; }
    void setAct(const QString& text);
    QString act() const;
    QString vrs() const;
    // Width of the progress shape in pixels at 100 percent (4650 twips).
    static constexpr int FullWidth = 310;
    int shapeWidth() const;
    bool shapeVisible() const;

private:
    QLabel* m_logo;
    QLabel* m_version;
    QLabel* m_action;
    QFrame* m_track;
    QFrame* m_shape;
    int m_percent = 0;
};
