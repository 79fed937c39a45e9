#pragma once
// A Dialogs double: answers from a script and records every question.
#include "core/Dialogs.h"

#include <QList>
#include <QStringList>

class ScriptedDialogs : public Dialogs {
public:
    struct Asked {
        QString text;
        int style;
        QString title;
    };
    ScriptedDialogs() { Dialogs::setCurrent(this); }
    ~ScriptedDialogs() override { Dialogs::setCurrent(nullptr); }

    QList<Answer> answers; // taken in order; Ok/Yes when empty
    QStringList folders;   // taken in order; "" when empty
    QList<Asked> asked;

    Answer MsgBox(const QString& text, int style, const QString& title) override {
        asked.append({text, style, title});
        if (!answers.isEmpty()) return answers.takeFirst();
        return (style & 7) == YesNo || (style & 7) == YesNoCancel ? Yes : Ok;
    }
    QString BrowseForFolder(const QString&, const QString&) override {
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }
};
