#pragma once
// A Shell double: records every document opened and program started, runs nothing.
#include "core/Shell.h"

#include <QList>
#include <QStringList>

class RecordingShell : public Shell {
public:
    RecordingShell() { Shell::setCurrent(this); }
    ~RecordingShell() override { Shell::setCurrent(nullptr); }

    struct Call {
        QString program;
        QStringList arguments;
    };
    QStringList opened; // documents, in order
    QList<Call> calls;  // programs, in order

    bool OpenDocument(const QString& path) override {
        opened << path;
        return true;
    }
    bool Execute(const QString& program, const QStringList& arguments) override {
        calls.append({program, arguments});
        return true;
    }
};
