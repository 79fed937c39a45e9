#pragma once
// Opening documents, folders and programs with the desktop: one seam, so that
// tests can record what would have been opened.
#include <QString>
#include <QStringList>

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document or folder with the desktop's handler for its type
    // (xdg-open with a file:// URL). Never starts the file itself as a program,
    // whatever its mode. False when it is missing or no handler could be started.
    virtual bool OpenDocument(const QString& path) = 0;
    // Starts a program with arguments (passed as a list, never through a shell).
    virtual bool Execute(const QString& program, const QStringList& arguments) = 0;

    static Shell& current();
    static void setCurrent(Shell* shell);
};
