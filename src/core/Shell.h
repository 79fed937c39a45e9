#pragma once
// Opening documents, folders and programs with the desktop: one seam, so that
// tests can record what would have been opened.
#include <QString>
#include <QStringList>

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file with its associated program, or starts it when it is a
    // program. False when that could not be started.
    virtual bool OpenDocument(const QString& path) = 0;
    // Starts a program with arguments (passed as a list, never through a shell).
    virtual bool Execute(const QString& program, const QStringList& arguments) = 0;

    static Shell& current();
    static void setCurrent(Shell* shell);
};
