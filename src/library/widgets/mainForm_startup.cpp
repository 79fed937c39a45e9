// Start-up and shut-down of the main window, in the order the application
// depends on: language, settings, splash, library database, service objects,
// layout, tree; and the mirror image at the end.
#include "library/widgets/mainForm.h"

#include "cd/widgets/AcdPanel.h"
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/Dialogs.h"
#include "core/JetDates.h"
#include "core/LibraryPaths.h"
#include "core/OleDate.h"
#include "core/PathHelpers.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "core/widgets/frmSplash.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/QtTranslations.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/ListPopMenu.h"
#include "player/ExternalPlayer.h"
#include "util/widgets/Popups.h"
#include "util/widgets/popMsgClass.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

void letMessagesRun() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

bool mainForm::failStartUp(const QString& text, const QString& title) {
    closeSplash();
    Dialogs::current().MsgBox(text, Dialogs::OkOnly | Dialogs::Critical, title);
    m_mediaLib.reset();
    mainMod::SetLang(nullptr);
    m_lang.reset();
    return false;
}

void mainForm::splashStep(int percent, const QString& act) {
    if (!m_splash) return;
    m_splash->setPB(percent);
    if (!act.isNull()) m_splash->setAct(act);
    letMessagesRun();
}

void mainForm::closeSplash() {
    delete m_splash;
    m_splash = nullptr;
}

void mainForm::buildLanguageMenu() {
    QList<QPair<int, QString>> languages;
    for (int i = 0; i < m_lang->AvailableLangCount(); ++i)
        languages.append({m_lang->AvailableLCID(i), m_lang->AvailableLangName(i)});
    m_menus.setLanguages(languages, m_lang->LCID());
    for (QAction* entry : std::as_const(m_menus.smLang)) {
        connect(entry, &QAction::triggered, this, [this, entry] {
            const int lcid = entry->data().toString().toInt();
            if (lcid == m_lang->LCID()) return;
            if (mainMod::SwitchLanguage(*m_lang, lcid)) applyLanguage();
            for (QAction* other : std::as_const(m_menus.smLang))
                other->setChecked(other->data().toString().toInt() == m_lang->LCID());
        });
    }
}

void mainForm::reportDamagedSettings() {
    // The good values were kept and the bad lines skipped; the user should still
    // know, and where the damaged file went.
    const HiveReport report = Registry::Report(Registry::CurrentUser);
    if (report.clean()) return;
    QString text = report.unreadable.isEmpty()
                       ? m_lang->Text(921, {report.path, QString::number(report.problemCount)})
                       : m_lang->Text(922, {report.path, report.unreadable});
    if (!report.keptAs.isEmpty())
        text += QStringLiteral("\r\n") + m_lang->Text(923, {report.keptAs});
    mainMod::ShowPopup(text, 48, m_lang->Text(924), 20);
}

void mainForm::applyLanguage() {
    QtTranslations::Use(m_lang->LCID());
    FormLang::SetFormLang(*m_lang, this);
    MicroPlayer->applyLanguage();
    EmptyArtistText = m_lang->Text(141);
    EmptyAlbumText = EmptyArtistText;
    sText->setPlaceholderText(m_lang->Text(32));
    if (auto* panel = qobject_cast<AcdPanel*>(acdFrame)) panel->LanguageChanged();
    if (m_browser) m_browser->LanguageChanged();
}

void mainForm::hideMissingServerEntries() {
    if (!mainMod::FileExists(mainMod::ServerConfigPath())) {
        m_menus.mnuManageServer->setVisible(false);
        m_menus.mnuSepServer->setVisible(false);
    }
    if (!mainMod::FileExists(mainMod::ServerHelpPath())) {
        m_menus.mnuServerHelp->setVisible(false);
        m_menus.mnuSepServerHelp->setVisible(false);
    }
}

bool mainForm::openLibrary(const StartupOptions& options) {
    const QString dataFolder =
        options.dataFolder.isEmpty() ? mainMod::DataFolder() : options.dataFolder;
    const QString templatePath =
        options.templatePath.isEmpty() ? mainMod::TemplatePath() : options.templatePath;
    m_templatePath = templatePath;
    m_mediaLib = std::make_unique<MediaLibrary>();
    m_mediaLib->OpenLibrary(mainMod::GetDatabasePath(dataFolder, templatePath));
    return m_mediaLib->IsOpen();
}

void mainForm::compactDaily() {
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    // Any valid date counts, with or without a time, as Jet's date conversion reads it.
    double days = 0;
    const QString stored = mainMod::ReadSetting(QStringLiteral("Misc\\LastDBDefrag"));
    const QDate last =
        JetDates::parse(stored, days) ? OleDate::toDateTime(days).date() : QDate(1800, 1, 1);
    if (last == QDate::currentDate()) return;
    splashStep(m_splash ? m_splash->PB() : 0, QStringLiteral("Defragmenting database"));
    m_mediaLib->Compact();
    mainMod::WriteSetting(QStringLiteral("Misc\\LastDBDefrag"),
                          QDateTime::currentDateTime().toString(format));
}

bool mainForm::StartUp(const StartupOptions& options) {
    m_devMode = options.arguments.join(QLatin1Char(' ')).contains(QLatin1String("devmode"));

    // Language: the stored choice, the user's default, or the fallback.
    m_lang = std::make_unique<clsMUI>();
    m_lang->SetLangFolder(options.langFolder.isEmpty() ? mainMod::LangFolder()
                                                       : options.langFolder);
    if (mainMod::SelectStartupLanguage(*m_lang) == 0) {
        m_lang.reset();
        Dialogs::current().MsgBox(QStringLiteral("Language file(s) not found. Install or update "
                                                 "this application to fix this issue."),
                                  Dialogs::OkOnly | Dialogs::Critical,
                                  mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersion());
        return false;
    }
    mainMod::SetLang(m_lang.get());
    buildLanguageMenu();
    applyLanguage();
    setWindowTitle(mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersionShort());

    LoadSettings(m_settings, ExternalPlayer::FindWinamp);

    QElapsedTimer splashTime;
    if (m_settings.ShowLoadWindow) {
        m_splash = new frmSplash(m_lang->Text(120));
        FormLang::SetFormLang(*m_lang, m_splash);
        m_splash->setPB(0);
        m_splash->setAct(QStringLiteral("Starting up"));
        m_splash->show();
        emit splashShown();
        hide();
        letMessagesRun();
        splashTime.start();
    }

    if (!openLibrary(options))
        return failStartUp(m_lang->Text(1) + QStringLiteral("\n\n") + m_mediaLib->OpenError(),
                           m_lang->Text(2));
    splashStep(5);
    if (m_settings.DefragDatabaseOnLoad) {
        compactDaily();
        if (!m_mediaLib->IsOpen()) return failStartUp(m_lang->Text(1), m_lang->Text(2));
    }
    splashStep(15);

    m_popups = std::make_unique<popMsgClass>();
    mainMod::SetPopups(m_popups.get());
    reportDamagedSettings();
    splashStep(20);

    attachLibraryEvents();
    m_browser = new LibraryBrowser(*this, *m_mediaLib);
    connect(m_browser->listPop(), &ListPopMenu::propertiesRequested, this,
            &mainForm::ShowProperties);
    connectPlayActions(m_browser);
    connectConvertAction(m_browser);
    applyLanguage(); // the browser's menus and texts
    splashStep(30);
    splashStep(40, m_lang->Text(68));
    splashStep(50, m_lang->Text(69));

    hideMissingServerEntries();
    setUpMenuUpdateEntry();
    setListLogo(m_settings.ShowLogo);
    FillGenreList();
    splashStep(55);

    restoreLayout();
    splashStep(60);
    splashStep(65);
    emit columnsRebuildRequested();
    splashStep(70);
    splashStep(80, m_lang->Text(70));
    startCdWatcher(options);
    splashStep(90);
    emit treeRebuildRequested(0);
    startEngineClient(options);
    // Without write access the library is only read: say so before anything fails to change.
    if (m_mediaLib->IsReadOnly())
        setStatusPanel(2, m_lang->Text(920, {m_mediaLib->DatabasePath()}));

    if (m_splash) {
        const qint64 left = 1000 - splashTime.elapsed();
        if (left > 0) {
            QEventLoop wait;
            QTimer::singleShot(static_cast<int>(left), &wait, &QEventLoop::quit);
            wait.exec();
        }
        closeSplash();
    }
    show();
    if (!m_devMode) installSizeHook();
    m_started = true;

    if (m_devMode)
        mainMod::ShowPopup(QStringLiteral("Running on DEVELOPER MODE!"), 64,
                           QStringLiteral("Warning"), 10);
    return true;
}

void mainForm::Shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    removeSizeHook();
    stopEngineClient();
    if (m_settings.ShowLoadWindow && m_lang) {
        m_splash = new frmSplash(m_lang->Text(120));
        FormLang::SetFormLang(*m_lang, m_splash);
        m_splash->setPB(100);
        m_splash->setAct(m_lang->Text(71));
        m_splash->show();
        emit splashShown();
        hide();
        letMessagesRun();
        splashStep(80, m_lang->Text(72));
    }
    stopCdWatcher();
    if (m_mediaLib && m_mediaLib->IsRefreshing()) m_mediaLib->CancelRefresh();
    splashStep(70, m_lang ? m_lang->Text(73) : QString());
    captureColumnWidths();
    SaveSettings(m_settings);
    splashStep(60, m_lang ? m_lang->Text(74) : QString());
    releaseUpdateChecker();
    mainMod::SetPopups(nullptr);
    m_popups.reset();
    splashStep(45);
    detachLibraryEvents();
    delete m_browser;
    m_browser = nullptr;
    splashStep(30);
    m_mediaLib.reset();
    splashStep(15);
    closeSplash();
    mainMod::SetLang(nullptr);
    m_lang.reset();
}

void mainForm::closeEvent(QCloseEvent* event) {
    if (m_started && !m_shutDown) {
        const Dialogs::Answer answer = Dialogs::current().MsgBox(
            m_lang->Text(146), Dialogs::YesNo | Dialogs::Question, m_lang->Text(147));
        if (answer == Dialogs::No) {
            event->ignore();
            return;
        }
        Shutdown();
    }
    event->accept();
}
