#pragma once
// The library wizard: welcome, media folders, start of the scan, the wait for
// the scan, done. One frame per step; the step labels on the left show where
// the user is.
#include <QDialog>
#include <QList>
#include <functional>

class MediaFolderStore;
class QFrame;
class QLabel;
class QPushButton;

class wizForm : public QDialog {
    Q_OBJECT
public:
    // refresh starts a refresh of the whole library (force flag) and answers
    // whether it started; its end is reported through LibRefreshComplete.
    wizForm(MediaFolderStore& folders, std::function<bool(bool)> refresh,
            QWidget* parent = nullptr);

    int step() const { return m_step; }
    // What pressing nextBUT does on the current step.
    void Next();
    // The refresh has ended: while the wizard waits for it, it goes on.
    void LibRefreshComplete();
    // Progress of the refresh it waits for.
    void RefreshProgress(float percent);

    static constexpr int StepCount = 5;
    QList<QFrame*> wFrame;
    QList<QLabel*> lbl;   // the step labels
    QList<QLabel*> wText; // the text of each frame
    QLabel* scanPC = nullptr;
    QPushButton* nextBUT = nullptr;
    QPushButton* closeBut = nullptr;

private:
    void showStep(int step);
    void foldersClosed(bool changed);

    MediaFolderStore& m_folders;
    std::function<bool(bool)> m_refresh;
    int m_step = 0;
};
