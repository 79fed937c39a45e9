#pragma once
// The copy dialog: filled with source/destination pairs, shown modally; it
// copies as soon as it is first shown, with the two paths compacted in its
// labels, and hides itself when done. Cancel stops after the current file.
#include "editing/CopyJob.h"

#include <QDialog>

class QLabel;
class QPushButton;

class fileCopyForm : public QDialog {
    Q_OBJECT
public:
    // Width of the path labels in pixels.
    static constexpr int PathWidth = 370;

    explicit fileCopyForm(QWidget* parent = nullptr);

    void AddPair(const QString& source, const QString& destination);
    // 1 finished, 2 cancelled (valid after the dialog was shown).
    int result() const { return m_result; }
    const CopyJob& job() const { return m_job; }

    // Overrides the failure question (tests; default: the Dialogs seam).
    void setFailureHandler(std::function<Dialogs::Answer(const CopyFailure&)> handler);
    // Called before each pair, after the labels were set (tests).
    void setStartingHook(std::function<void(int index)> hook);

    QLabel* cFile[2] = {nullptr, nullptr};
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void runCopy();

    CopyJob m_job;
    int m_result = CopyJob::Finished;
    bool m_started = false;
    bool m_running = false;
    bool m_cancelled = false;
    std::function<Dialogs::Answer(const CopyFailure&)> m_failed;
    std::function<void(int)> m_starting;
};
