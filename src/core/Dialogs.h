#pragma once
// Every question, message box and folder picker goes through this seam, so that
// logic can ask and tests can answer from a script.
#include <QString>
#include <QStringList>

class Dialogs {
public:
    // Buttons and icon combine into a style, as in MsgBox(text, Buttons | Icon, title).
    // Buttons
    static constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                         RetryCancel = 5;
    // Icons
    static constexpr int NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48,
                         Information = 64;
    // Default button (the first when none is named)
    static constexpr int DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512;
    enum Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

    virtual ~Dialogs() = default;
    virtual Answer MsgBox(const QString& text, int style, const QString& title) = 0;
    // A folder chosen by the user, or "" when cancelled.
    virtual QString BrowseForFolder(const QString& title, const QString& startFolder) = 0;
    // One of several choices (the option dialog): the index chosen, or -1 when
    // cancelled. selected: the choice that is on at first, and the answer when
    // no dialogs are installed.
    virtual int ChooseOption(const QString& title, const QStringList& choices, int selected = 0);

    // The implementation in use (the GUI installs one at start-up; tests install
    // a scripted one). Without any, every question is answered by its default
    // button and no folder is chosen.
    static Dialogs& current();
    static void setCurrent(Dialogs* dialogs);
};
