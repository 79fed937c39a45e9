#include "support/widgets/MainWindowFixture.h"

#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "lang/Mui.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"

#include <QApplication>
#include <QDir>
#include <QFile>

StartedMainWindow::StartedMainWindow() {
    mainMod::WriteSetting("Misc\\ShowLoadWindow", "0");
    mainMod::WriteSetting("Misc\\LCID", "1033");
    // Closing a shown window must not quit the application: with no running
    // main loop, a quit would end every later dialog's loop at once.
    m_quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
}

StartedMainWindow::~StartedMainWindow() {
    QApplication::setQuitOnLastWindowClosed(m_quitOnClose);
}

void StartedMainWindow::TearDown() {
    if (form && !form->isShutDown()) form->Shutdown();
    form.reset();
}

void StartedMainWindow::launch(const QStringList& args, const QString& engineFolder) {
    form = std::make_unique<mainForm>(settings);
    if (!engineFolder.isEmpty()) form->setEngineFolder(engineFolder);
    ASSERT_TRUE(form->StartUp({args, {}, data.path() + "/", {}}))
        << (dialogs.asked.isEmpty() ? std::string() : dialogs.asked.last().text.toStdString());
}

void StartedMainWindow::start(const QStringList& args) {
    launch(args);
    mainMod::SetDatabaseCreated(false);
}

void StartedMainWindow::copyTemplateLibrary() {
    const QString path = data.path() + "/data.qvd";
    ASSERT_TRUE(QFile::copy(mainMod::TemplatePath(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

QString StartedMainWindow::text(int number, const QStringList& args) const {
    return form->lang()->Text(number, args);
}

QStringList StartedMainWindow::artists() const {
    QStringList names;
    QTreeWidgetItem* library = form->tv1->topLevelItem(0);
    for (int i = 0; library && i < library->childCount(); ++i)
        names << library->child(i)->text(0);
    return names;
}

int StartedMainWindow::count(const QString& table) {
    Result<db::Recordset> r = form->mLib2()->Connection().query("select count(*) from " + table);
    return r && r.value().next() ? static_cast<int>(r.value().integer(0)) : -1;
}

void StartedMainWindow::addMusic(int count, const std::function<fixtures::TagFields(int)>& tagsOf) {
    QDir().mkpath(music());
    for (int i = 1; i <= count; ++i) {
        const QString path = music() + QStringLiteral("/f%1.mp3").arg(i, 2, 10, QChar('0'));
        ASSERT_TRUE(fixtures::WriteMp3(path, tagsOf(i)));
        ASSERT_GT(form->mLib2()->AddLibraryFile(path), 0);
    }
}

void StartedMainWindow::addMusic(const QStringList& names, const fixtures::TagFields& tags) {
    QDir().mkpath(music());
    for (const QString& name : names) {
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/" + name, tags));
        ASSERT_GT(form->mLib2()->AddLibraryFile(music() + "/" + name), 0);
    }
}

QList<qint64> StartedMainWindow::listAll(const QString& order) {
    form->browser()->FillList(QStringLiteral("select * from FILES order by ") + order, 1);
    QList<qint64> ids;
    for (int r = 0; r < form->browser()->model().rowCount(); ++r)
        ids << form->browser()->model().id(r);
    return ids;
}

void StartedMainWindow::selectRows(const QList<int>& rows) {
    form->llist->clearSelection();
    for (int r : rows)
        form->llist->selectionModel()->select(form->browser()->model().index(r, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
}

QString StartedMainWindow::field(qint64 id, int code) {
    return form->mLib2()->GetFileField(static_cast<qint32>(id), code).toString();
}
