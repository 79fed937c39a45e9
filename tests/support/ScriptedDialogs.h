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
    QList<int> options;    // option dialog answers, taken in order (-1 cancels); the
                           // initial choice when empty
    QList<Asked> asked;

    Answer MsgBox(const QString& text, int style, const QString& title) override {
        asked.append({text, style, title});
        if (!answers.isEmpty()) return answers.takeFirst();
        return (style & 7) == YesNo || (style & 7) == YesNoCancel ? Yes : Ok;
    }
    QString BrowseForFolder(const QString&, const QString&) override {
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }
    // Recorded in asked with the choices as the text, one a line, and style -1.
    int ChooseOption(const QString& title, const QStringList& choices, int selected) override {
        asked.append({choices.join(QLatin1Char('\n')), -1, title});
        if (!options.isEmpty()) return options.takeFirst();
        return Dialogs::ChooseOption(title, choices, selected);
    }
};
