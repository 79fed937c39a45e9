#pragma once
// The main window started on a fresh data folder, as most window tests need it:
// no load window, English texts, and no first-run wizard.
#include "core/Settings.h"
#include "library/widgets/mainForm.h"
#include "support/AudioFixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class StartedMainWindow : public ConfigDirTest {
protected:
    StartedMainWindow();
    ~StartedMainWindow() override;
    // Starts the window; a fixture that starts it otherwise overrides this.
    void SetUp() override { start(); }
    void TearDown() override;

    // Makes the window and starts it on data/ with that command line, with the
    // indexing engine from engineFolder when one is given.
    void launch(const QStringList& args = {}, const QString& engineFolder = {});
    // launch(), then the library counts as made before: no wizard over the tested windows.
    void start(const QStringList& args = {});

    // Puts a library made before into data/, so that start-up brings no wizard.
    void copyTemplateLibrary();

    QString text(int number, const QStringList& args = {}) const;
    // The artist nodes under the tree's library node.
    QStringList artists() const;
    // Rows in that library table, -1 when it cannot be read.
    int count(const QString& table);

    QString music() const { return data.path() + QStringLiteral("/music"); }
    // Writes f01.mp3 .. fNN.mp3 into music(), tagged by tagsOf(n), and adds them to the library.
    void addMusic(int count, const std::function<fixtures::TagFields(int)>& tagsOf);
    // Writes the named MP3 files into music(), all with those tags, and adds them.
    void addMusic(const QStringList& names, const fixtures::TagFields& tags);
    // Lists every file in that order ("filename desc"); the listed ids in list order.
    QList<qint64> listAll(const QString& order);
    // Selects those list rows, and only those.
    void selectRows(const QList<int>& rows);
    // A field of a library file, as text.
    QString field(qint64 id, int code);

    QTemporaryDir data;
    ScriptedDialogs dialogs;
    AppSettings settings;
    std::unique_ptr<mainForm> form;

private:
    bool m_quitOnClose = true;
};
