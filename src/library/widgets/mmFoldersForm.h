#pragma once
// The media-folder editor: lists the folders with their last scan, adds and
// removes them. Closing only hides it, so that the caller can read Changed().
#include <QDialog>

class MediaFolderStore;
class QLabel;
class QPushButton;
class QTreeWidget;

class mmFoldersForm : public QDialog {
    Q_OBJECT
public:
    explicit mmFoldersForm(MediaFolderStore& folders, QWidget* parent = nullptr);

    // True after a folder was added or removed.
    bool Changed() const { return m_changed; }
    // Lists the folders again.
    void FillList();
    // The buttons' work: Add asks for a folder, Remove for the selected one.
    void AddFolder();
    void RemoveFolder();

    QLabel* lblInfo = nullptr;
    QTreeWidget* flist = nullptr;
    QPushButton* addBUT = nullptr;
    QPushButton* killBUT = nullptr;
    QPushButton* closeBut = nullptr;

private:
    MediaFolderStore& m_folders;
    bool m_changed = false;
};
