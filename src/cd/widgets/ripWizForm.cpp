#include "cd/widgets/ripWizForm.h"

#include "convert/EncoderConfig.h"
#include "convert/widgets/encSetForm.h"
#include "core/Dialogs.h"
#include "core/PathHelpers.h"
#include "core/Settings.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString LocationKey = QStringLiteral("CD-Rip\\Last Rip Location");
const QString SubfolderKey = QStringLiteral("CD-Rip\\Create subfolder");
const QString LibraryKey = QStringLiteral("CD-Rip\\Add2Library");
const QString PatternKey = QStringLiteral("CD-Rip\\FileName Format");
const QString FormatKey = QStringLiteral("CD-Rip\\Output Format");

// Language texts of the wizard.
enum {
    ErrorTitle = 2,
    CancelQuestion = 105,
    CancelTitle = 106,
    DoneText = 107,
    FailedText = 108,
    RippingText = 109,
    CloseText = 110,
    ReadyText = 111,
    ExistsText = 112,
    ErrorText = 113,
    SameNameText = 114,
    NoTempText = 115,
    EncodingText = 116,
    BrowseTitle = 970,
    NoNameText = 971,
};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString text(int number, const char* designed) {
    const QString t = mainMod::LangText(number);
    return t.isEmpty() ? QLatin1String(designed) : t;
}

} // namespace

ripWizForm::ripWizForm(AppSettings& settings, const RipRequest& request, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_request(request) {
    setObjectName(QStringLiteral("ripWizForm"));
    setWindowTitle(QStringLiteral("CD-Rip"));
    setModal(true);
    for (RipTrackEntry& track : m_request.tracks)
        track.name = track.name.trimmed();
    if (m_request.tracks.size() > RipRequest::MaxTracks)
        m_request.tracks = m_request.tracks.mid(0, RipRequest::MaxTracks);
    build();
    loadSettings();
    applyLanguage();
}

ripWizForm::~ripWizForm() {
    if (m_thread) {
        m_job->cancel();
        m_thread->wait();
        delete m_thread; // its finished handler would have, but this window goes first
    }
}

void ripWizForm::done(int result) {
    saveSettings();
    QDialog::done(result);
}

void ripWizForm::build() {
    lblFolder = named(new QLabel(QStringLiteral("&Output folder:")), "lblFolder");
    oFolder = named(new QLineEdit, "oFolder");
    lblFolder->setBuddy(oFolder);
    cmdBrowse = named(new QPushButton(QStringLiteral("Bro&wse...")), "cmdBrowse");
    chk1 = named(new QCheckBox(QStringLiteral("Create a &subfolder named after artist and album")),
                 "chk1");
    chk2 = named(new QCheckBox(QStringLiteral("Add files to &Library (recommended)")), "chk2");
    lblPattern = named(new QLabel(QStringLiteral("File &name:")), "lblPattern");
    fName = named(new QLineEdit, "fName");
    lblPattern->setBuddy(fName);
    cmdDefault = named(new QPushButton(QStringLiteral("Default")), "cmdDefault");
    lblTags =
        named(new QLabel(QStringLiteral("%N track number, %T title, %A artist, %B album, %Y year")),
              "lblTags");
    lblTags->setWordWrap(true);
    lblType = named(new QLabel(QStringLiteral("Output &format:")), "lblType");
    fType = named(new QComboBox, "fType");
    fType->addItems({QStringLiteral("MP3"), QStringLiteral("WMA"), QStringLiteral("WAV")});
    lblType->setBuddy(fType);
    cmdSettings = named(new QPushButton(QStringLiteral("&Settings")), "cmdSettings");
    // The user's folder and pattern are no texts of the window.
    for (QWidget* own : {static_cast<QWidget*>(oFolder), static_cast<QWidget*>(fName)})
        own->setProperty(FormLang::NoLangTextProperty, true);

    auto* page1 = new QWidget;
    auto* grid = new QGridLayout(page1);
    grid->addWidget(lblFolder, 0, 0);
    grid->addWidget(oFolder, 0, 1);
    grid->addWidget(cmdBrowse, 0, 2);
    grid->addWidget(chk1, 1, 1, 1, 2);
    grid->addWidget(chk2, 2, 1, 1, 2);
    grid->addWidget(lblPattern, 3, 0);
    grid->addWidget(fName, 3, 1);
    grid->addWidget(cmdDefault, 3, 2);
    grid->addWidget(lblTags, 4, 1, 1, 2);
    grid->addWidget(lblType, 5, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(fType);
    typeRow->addWidget(cmdSettings);
    typeRow->addStretch(1);
    grid->addLayout(typeRow, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    llist = named(new QTreeWidget, "llist");
    llist->setRootIsDecorated(false);
    llist->setUniformRowHeights(true);
    llist->setHeaderLabels(
        {QStringLiteral("Filename"), QStringLiteral("Full Path"), QStringLiteral("Status")});
    llist->header()->setStretchLastSection(true);
    fraProgress = named(new QGroupBox, "fraProgress");
    lblTrack = named(new QLabel(QStringLiteral("Current track")), "lblTrack");
    pbTrack = named(new QProgressBar, "pbTrack");
    lblOverall = named(new QLabel(QStringLiteral("Overall process")), "lblOverall");
    pbOverall = named(new QProgressBar, "pbOverall");
    auto* bars = new QGridLayout(fraProgress);
    bars->addWidget(lblTrack, 0, 0);
    bars->addWidget(pbTrack, 0, 1);
    bars->addWidget(lblOverall, 1, 0);
    bars->addWidget(pbOverall, 1, 1);
    bars->setColumnStretch(1, 1);
    fraProgress->hide();

    auto* page2 = new QWidget;
    auto* page2Layout = new QVBoxLayout(page2);
    page2Layout->setContentsMargins(0, 0, 0, 0);
    page2Layout->addWidget(llist, 1);
    page2Layout->addWidget(fraProgress);

    pages = named(new QStackedWidget, "pages");
    pages->addWidget(page1);
    pages->addWidget(page2);

    cmdBack = named(new QPushButton(QStringLiteral("< &Back")), "cmdBack");
    cmdNext = named(new QPushButton(QStringLiteral("&Next >")), "cmdNext");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdNext->setDefault(true);
    cmdBack->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(12);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(buttons);
    resize(640, 400);

    connect(cmdBrowse, &QPushButton::clicked, this, &ripWizForm::browse);
    connect(cmdDefault, &QPushButton::clicked, this,
            [this] { fName->setText(QLatin1String(cd::DefaultRipPattern)); });
    connect(fType, &QComboBox::currentIndexChanged, this, [this](int type) {
        cmdSettings->setVisible(type == cd::RipMp3 || type == cd::RipWma);
    });
    connect(cmdSettings, &QPushButton::clicked, this, &ripWizForm::showSettings);
    connect(cmdNext, &QPushButton::clicked, this, &ripWizForm::next);
    connect(cmdBack, &QPushButton::clicked, this, &ripWizForm::back);
    connect(cmdCancel, &QPushButton::clicked, this, &ripWizForm::askCancel);
}

void ripWizForm::loadSettings() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    oFolder->setText(mainMod::ReadSetting(LocationKey, documents));
    chk1->setChecked(mainMod::ReadSetting(SubfolderKey, QStringLiteral("1")) == u"1");
    chk2->setChecked(mainMod::ReadSetting(LibraryKey, QStringLiteral("1")) == u"1");
    fName->setText(mainMod::ReadSetting(PatternKey, QLatin1String(cd::DefaultRipPattern)));
    const int type = mainMod::ReadSetting(FormatKey, QStringLiteral("0")).toInt();
    fType->setCurrentIndex(type >= cd::RipMp3 && type <= cd::RipWav ? type : cd::RipMp3);
    cmdSettings->setVisible(fType->currentIndex() != cd::RipWav);
}

void ripWizForm::saveSettings() {
    if (m_saved) return;
    m_saved = true;
    if (QFileInfo(oFolder->text()).isDir()) mainMod::WriteSetting(LocationKey, oFolder->text());
    mainMod::WriteSetting(SubfolderKey,
                          chk1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    mainMod::WriteSetting(LibraryKey,
                          chk2->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    mainMod::WriteSetting(PatternKey, fName->text());
    mainMod::WriteSetting(FormatKey, QString::number(fType->currentIndex()));
}

void ripWizForm::applyLanguage() {
    FormLang::SetFormLang(this);
    if (m_done) cmdNext->setText(text(CloseText, "&Close"));
    for (int i = 0; i < m_plan.size(); ++i)
        showStatus(i);
}

void ripWizForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) applyLanguage();
    QDialog::changeEvent(event);
}

void ripWizForm::browse() {
    const QString chosen = Dialogs::current().BrowseForFolder(
        text(BrowseTitle, "Choose the output folder"), oFolder->text());
    if (!chosen.isEmpty()) oFolder->setText(mainMod::NormalizePath(chosen, true));
}

void ripWizForm::showSettings() {
    encSetForm settings(m_settings, this);
    settings.SetFileType(fType->currentIndex() == cd::RipWma ? convert::WmaFormat
                                                             : convert::Mp3Format);
    settings.exec();
}

void ripWizForm::next() {
    if (m_done) {
        accept();
        return;
    }
    if (pages->currentIndex() == 0) {
        // An empty box would put the files into the root folder.
        if (oFolder->text().trimmed().isEmpty()) {
            oFolder->setFocus();
            return;
        }
        buildTargets();
        pages->setCurrentIndex(1);
        cmdBack->setEnabled(true);
        cmdNext->setEnabled(cd::RipPlanUsable(m_plan));
    } else {
        startRip();
    }
}

void ripWizForm::back() {
    pages->setCurrentIndex(0);
    cmdBack->setEnabled(false);
    cmdNext->setEnabled(true);
}

void ripWizForm::buildTargets() {
    cd::RipPlanInput in;
    in.folder = oFolder->text();
    in.subfolder = chk1->isChecked();
    in.pattern = fName->text();
    in.format = fType->currentIndex();
    in.artist = m_request.artist;
    in.album = m_request.album;
    in.year = m_request.year;
    for (const RipTrackEntry& track : m_request.tracks)
        in.tracks << cd::RipPlanTrack{track.number, track.name};
    m_plan = cd::BuildRipPlan(in);
    m_planFormat = in.format;
    m_states = QList<int>(m_plan.size(), -1);
    llist->clear();
    for (int i = 0; i < m_plan.size(); ++i) {
        auto* item = new QTreeWidgetItem(llist);
        item->setData(0, Qt::UserRole, QStringLiteral("t%1").arg(m_plan.at(i).number));
        item->setText(0, m_plan.at(i).name);
        item->setText(1, m_plan.at(i).folder);
        showStatus(i);
    }
    llist->resizeColumnToContents(0);
    llist->resizeColumnToContents(1);
}

void ripWizForm::showStatus(int index) {
    QTreeWidgetItem* item = llist->topLevelItem(index);
    if (!item) return;
    const cd::RipTarget& target = m_plan.at(index);
    QString status;
    QColor colour = palette().color(QPalette::Text);
    switch (m_states.value(index, -1)) {
    case RipJob::Ripping:
        status = text(RippingText, "Ripping...");
        break;
    case RipJob::Encoding:
        status = text(EncodingText, "Ripped, encoding...");
        colour = QColor(0, 100, 0);
        break;
    case RipJob::Done:
        status = text(DoneText, "Done");
        break;
    case RipJob::Failed:
        status = text(FailedText, "Failed");
        break;
    default:
        if (target.check == cd::RipTarget::Exists) {
            status = text(ErrorText, "Error:") + u' ' + text(ExistsText, "the file already exists");
            colour = QColor(255, 0, 0);
        } else if (target.check == cd::RipTarget::NoName) {
            status = text(NoNameText, "Error: the file name is empty (type a title)");
            colour = QColor(255, 0, 0);
        } else if (target.check == cd::RipTarget::SameName) {
            status = text(SameNameText, "Error: two tracks get the same file name");
            colour = QColor(255, 0, 0);
        } else {
            status = text(ReadyText, "Ready");
        }
    }
    item->setText(2, status);
    for (int c = 0; c < 3; ++c)
        item->setForeground(c, colour);
}

void ripWizForm::startRip() {
    RipJob::Setup setup;
    setup.drive = m_request.drive;
    setup.imagesFolder = m_imagesFolder;
    setup.format = m_planFormat;
    setup.targets = m_plan;
    setup.album = m_request.album;
    setup.artist = m_request.artist;
    setup.year = m_request.year;
    setup.genre = m_request.genreText;
    setup.encoding = m_settings;
    m_job = new RipJob(setup, this);
    connect(m_job, &RipJob::entryChanged, this, &ripWizForm::entryChanged);
    connect(m_job, &RipJob::entryProgress, this, &ripWizForm::entryProgress);
    connect(m_job, &RipJob::overallProgress, this, [this](int done, int total) {
        pbOverall->setMaximum(total);
        pbOverall->setValue(done);
    });
    pbTrack->setValue(0);
    pbOverall->setRange(0, m_job->totalSteps());
    pbOverall->setValue(0);
    fraProgress->show();
    cmdBack->setEnabled(false);
    cmdNext->setEnabled(false);
    auto outcome = std::make_shared<int>(RipJob::Finished);
    RipJob* job = m_job;
    m_thread = QThread::create([job, outcome] { *outcome = job->run(); });
    connect(m_thread, &QThread::finished, this, [this, outcome] { ripFinished(*outcome); });
    m_thread->start();
}

void ripWizForm::entryChanged(int index, int state) {
    m_states[index] = state;
    showStatus(index);
    if (state == RipJob::Ripping) {
        if (QTreeWidgetItem* item = llist->topLevelItem(index)) llist->scrollToItem(item);
    }
}

void ripWizForm::entryProgress(int index, float percent) {
    // The bar follows the oldest entry still under way; with the overlap the
    // next track's rip reports meanwhile.
    for (int i = 0; i < m_states.size(); ++i) {
        const int state = m_states.at(i);
        if (state == RipJob::Ripping || state == RipJob::Encoding) {
            if (i == index) pbTrack->setValue(static_cast<int>(percent));
            return;
        }
    }
}

void ripWizForm::ripFinished(int outcome) {
    m_thread->deleteLater();
    m_thread = nullptr;
    m_job->deleteLater();
    m_job = nullptr;
    fraProgress->hide();
    if (outcome == RipJob::NoTempFile) {
        Dialogs::current().MsgBox(text(NoTempText, "No temporary file could be created."),
                                  Dialogs::OkOnly | Dialogs::Critical, text(ErrorTitle, "Error"));
        cmdBack->setEnabled(true);
        cmdNext->setEnabled(true);
        return;
    }
    m_done = true;
    cmdBack->setEnabled(false);
    cmdCancel->setEnabled(false);
    cmdNext->setText(text(CloseText, "&Close"));
    cmdNext->setEnabled(true);
    if (chk2->isChecked() && m_addToLibrary)
        m_addToLibrary(mainMod::NormalizePath(oFolder->text(), true));
    emit ripEnded();
}

void ripWizForm::askCancel() {
    if (!cmdCancel->isEnabled()) return;
    const Dialogs::Answer answer =
        Dialogs::current().MsgBox(text(CancelQuestion, "Do you want to cancel the CD rip?"),
                                  Dialogs::YesNo | Dialogs::Question, text(CancelTitle, "Cancel"));
    if (answer != Dialogs::Yes) return;
    cmdCancel->setEnabled(false);
    if (m_job)
        m_job->cancel();
    else
        QDialog::reject();
}

void ripWizForm::reject() {
    // Escape and the window's close button ask as Cancel does; after the rip
    // they close.
    if (m_done) {
        QDialog::reject();
        return;
    }
    askCancel();
}
