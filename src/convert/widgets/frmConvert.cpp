#include "convert/widgets/frmConvert.h"

#include "components/TagService.h"
#include "convert/ConvertJob.h"
#include "convert/ConvertTexts.h"
#include "convert/widgets/encSetForm.h"
#include "core/Dialogs.h"
#include "core/PathHelpers.h"
#include "lang/widgets/FormLang.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace convert;

namespace {

template <typename W> W* named(W* widget, const char* name, int index = -1) {
    widget->setObjectName(QLatin1String(name));
    if (index >= 0) widget->setProperty("index", index);
    return widget;
}

// Boxes whose text the dialog sets itself.
QLineEdit* textBox(const char* name, int index = -1) {
    QLineEdit* box = named(new QLineEdit, name, index);
    box->setProperty(FormLang::NoLangTextProperty, true);
    return box;
}

const QString MultipleFiles = QStringLiteral("{multiple files}");
const QString FileTitle = QStringLiteral("{file title}");

} // namespace

frmConvert::frmConvert(AppSettings& settings, MediaLibrary* library, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_library(library) {
    setObjectName(QStringLiteral("frmConvert"));
    setWindowTitle(QStringLiteral("Convert Files"));
    setModal(true);
    build();
    applyLanguage();
    fType->setCurrentIndex(TargetMp3);
    cmbGenre->setCurrentIndex(0);
}

frmConvert::~frmConvert() = default;

void frmConvert::build() {
    auto* pages = new QVBoxLayout(this);
    pages->addWidget(buildOptionPage(), 1);
    pages->addWidget(buildProgressPage(), 1);
    Frame2->hide();

    nextBUT = named(new QPushButton(QStringLiteral("&Start")), "nextBUT");
    nextBUT->setDefault(true);
    cancelBUT = named(new QPushButton(QStringLiteral("&Cancel")), "cancelBUT");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(nextBUT);
    buttons->addWidget(cancelBUT);
    pages->addLayout(buttons);

    connect(nextBUT, &QPushButton::clicked, this, &frmConvert::start);
    connect(cancelBUT, &QPushButton::clicked, this, &frmConvert::reject);
}

QWidget* frmConvert::buildOptionPage() {
    Frame1 = named(new QFrame, "Frame1");
    lblType = named(new QLabel(QStringLiteral("Target &format:")), "lblType");
    fType = named(new QComboBox, "fType");
    fType->addItems({QStringLiteral("MP3"), QStringLiteral("WMA"), QStringLiteral("WAV")});
    lblType->setBuddy(fType);
    btSettings = named(new QPushButton(QStringLiteral("&Settings")), "btSettings");
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(lblType);
    typeRow->addWidget(fType);
    typeRow->addWidget(btSettings);
    typeRow->addStretch(1);

    fraTags = named(new QGroupBox(QStringLiteral("Manually set/overwrite Id3/Tag")), "fraTags");
    auto* tagGrid = new QGridLayout(fraTags);
    static const char* const captions[] = {"Title", "Artist", "Album", "Year", "Genre"};
    for (int i = 0; i < 5; ++i) {
        QCheckBox* box = named(new QCheckBox(QLatin1String(captions[i])), "opt", i);
        opt << box;
        tagGrid->addWidget(box, i, 0);
        QWidget* field = nullptr;
        if (i < 4) {
            fText << textBox("fText", i);
            field = fText.last();
        } else {
            cmbGenre = named(new QComboBox, "cmbGenre");
            for (const auto& [name, number] : TagService::GenreList(false))
                cmbGenre->addItem(name, number);
            field = cmbGenre;
        }
        field->setEnabled(false);
        tagGrid->addWidget(field, i, 1);
        connect(box, &QCheckBox::toggled, field, &QWidget::setEnabled);
    }
    tagGrid->setColumnStretch(1, 1);

    lblTitle = named(new QLabel(QStringLiteral("Target &name:")), "lblTitle");
    fTitle = textBox("fTitle");
    lblTitle->setBuddy(fTitle);
    lblPath = named(new QLabel(QStringLiteral("Target f&older:")), "lblPath");
    fPath = textBox("fPath");
    lblPath->setBuddy(fPath);
    btBrowse = named(new QPushButton(QStringLiteral("Bro&wse")), "btBrowse");
    auto* names = new QGridLayout;
    names->addWidget(lblTitle, 0, 0);
    names->addWidget(fTitle, 0, 1, 1, 2);
    names->addWidget(lblPath, 1, 0);
    names->addWidget(fPath, 1, 1);
    names->addWidget(btBrowse, 1, 2);
    names->setColumnStretch(1, 1);

    chk2 = named(new QCheckBox(QStringLiteral("Keep source file title")), "chk2");
    chk1 = named(new QCheckBox(QStringLiteral("Save to source folder")), "chk1");
    chk6 = named(new QCheckBox(QStringLiteral("Delete original files")), "chk6");
    chk5 = named(new QCheckBox(QStringLiteral("Add new files to Library")), "chk5");
    chk2->setChecked(true);
    chk1->setChecked(true);
    chk5->setChecked(true);
    auto* checks = new QGridLayout;
    checks->addWidget(chk2, 0, 0);
    checks->addWidget(chk1, 0, 1);
    checks->addWidget(chk6, 1, 0);
    checks->addWidget(chk5, 1, 1);

    auto* layout = new QVBoxLayout(Frame1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(typeRow);
    layout->addWidget(fraTags);
    layout->addLayout(names);
    layout->addLayout(checks);
    layout->addStretch(1);

    connect(fType, &QComboBox::currentIndexChanged, this, [this] {
        if (m_activated) layoutTagOptions();
    });
    connect(chk2, &QCheckBox::clicked, this, &frmConvert::updateNameAndFolder);
    connect(chk1, &QCheckBox::clicked, this, &frmConvert::updateNameAndFolder);
    connect(btBrowse, &QPushButton::clicked, this, &frmConvert::browse);
    connect(btSettings, &QPushButton::clicked, this, &frmConvert::openSettings);
    updateNameAndFolder();
    return Frame1;
}

QWidget* frmConvert::buildProgressPage() {
    Frame2 = named(new QFrame, "Frame2");
    llist = named(new QTreeWidget, "llist");
    llist->setRootIsDecorated(false);
    llist->setSelectionMode(QAbstractItemView::NoSelection);
    llist->setHeaderLabels(
        {QStringLiteral("Source"), QStringLiteral("Target"), QStringLiteral("Status")});
    llist->header()->setStretchLastSection(false);
    llist->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    llist->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    llist->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    llist->setMinimumHeight(160);

    pbFile = named(new QProgressBar, "pbFile");
    lblWait = named(
        new QLabel(QStringLiteral("Please wait. It's not possible to display the current status "
                                  "progress.")),
        "lblWait");
    lblWait->setWordWrap(true);
    // The label stands in for the bar while a decode runs, which reports no progress.
    fileProgress = new QWidget;
    auto* fileLayout = new QVBoxLayout(fileProgress);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(pbFile);
    fileLayout->addWidget(lblWait);
    lblWait->hide();
    pbTotal = named(new QProgressBar, "pbTotal");

    auto* layout = new QVBoxLayout(Frame2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(llist, 1);
    layout->addWidget(fileProgress);
    layout->addWidget(pbTotal);
    return Frame2;
}

void frmConvert::applyLanguage() {
    FormLang::SetFormLang(this);
    for (int row = 0; m_job && row < llist->topLevelItemCount(); ++row)
        llist->topLevelItem(row)->setText(2, StateText(m_job->Rows().at(row).state));
    if (!m_activated) return;
    layoutTagOptions();
}

bool frmConvert::AddFile(const QString& path) {
    const bool added = m_queue.AddFile(path);
    if (added && m_activated) layoutTagOptions();
    return added;
}

void frmConvert::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_activated) return;
    m_activated = true;
    layoutTagOptions();
}

void frmConvert::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) applyLanguage();
}

void frmConvert::layoutTagOptions() {
    const bool wav = fType->currentIndex() == TargetWav;
    const int files = m_queue.Count();
    fraTags->setEnabled(!wav);
    for (int i = 0; i < opt.size(); ++i) {
        if (wav) opt[i]->setChecked(false);
        opt[i]->setEnabled(!wav);
    }
    if (wav) {
        updateNameAndFolder();
        return;
    }
    if (files > 1) {
        opt[0]->setChecked(false);
        opt[0]->setEnabled(false);
        fText[0]->setText(FileTitle);
        fText[0]->setEnabled(false);
        chk2->setChecked(true);
        chk2->setEnabled(false);
    } else {
        if (files == 1) fText[0]->setText(m_queue.Items().first().Title);
        chk2->setEnabled(true);
    }
    updateNameAndFolder();
}

void frmConvert::updateNameAndFolder() {
    const int files = m_queue.Count();
    if (files > 1) {
        fTitle->setText(MultipleFiles);
        fTitle->setEnabled(false);
    } else {
        fTitle->setEnabled(!chk2->isChecked());
        if (chk2->isChecked() && files == 1) fTitle->setText(m_queue.Items().first().Title);
    }
    fPath->setEnabled(!chk1->isChecked());
    btBrowse->setEnabled(!chk1->isChecked());
    // A target beside its source with the source's name could be the source itself.
    const bool both = chk1->isChecked() && chk2->isChecked();
    if (both) chk6->setChecked(false);
    chk6->setEnabled(!both);
}

void frmConvert::browse() {
    const QString folder =
        Dialogs::current().BrowseForFolder(MessageText(SelectFolderText), fPath->text());
    if (!folder.isEmpty()) fPath->setText(mainMod::NormalizePath(folder, true));
}

void frmConvert::openSettings() {
    encSetForm settings(m_settings, this);
    settings.SetFileType(fType->currentIndex() == TargetWma ? 1 : 0);
    settings.exec();
}

void frmConvert::start() {
    if (m_job) { // the progress page: the run is over
        accept();
        return;
    }
    const QString name = fTitle->text() + QLatin1Char('.') + fType->currentText();
    if (!mainMod::IsValidFileName(name)) {
        Dialogs::current().MsgBox(MessageText(InvalidFileNameText), Dialogs::Exclamation,
                                  TitleText("Save As"));
        return;
    }
    if (!chk1->isChecked() && !QFileInfo(fPath->text()).isDir()) {
        Dialogs::current().MsgBox(MessageText(InvalidTargetFolderText), Dialogs::Exclamation,
                                  TitleText("Save To"));
        return;
    }
    nextBUT->setEnabled(false);
    if (m_queue.Count() == 0) return;
    pbFile->setValue(0);
    pbTotal->setValue(0);
    llist->clear();
    Frame1->hide();
    Frame2->show();
    runJob();
}

void frmConvert::runJob() {
    ConvertOptions options;
    options.format = fType->currentIndex();
    options.targetName = fTitle->isEnabled() ? fTitle->text() : QString();
    options.targetFolder = fPath->isEnabled() ? fPath->text() : QString();
    options.deleteOriginals = chk6->isChecked();
    options.addToLibrary = chk5->isChecked();
    std::optional<QString>* texts[] = {&options.overrides.title, &options.overrides.artist,
                                       &options.overrides.album, &options.overrides.year};
    for (int i = 0; i < 4; ++i)
        if (opt[i]->isChecked()) *texts[i] = fText[i]->text().trimmed();
    if (opt[4]->isChecked()) {
        options.overrides.genreName = cmbGenre->currentText();
        options.overrides.genreCode = cmbGenre->currentData().toInt();
    }

    m_job =
        new ConvertJob(PlanRows(m_queue.Items(), options), options, m_library, m_settings, this);
    for (const ConvertRow& row : m_job->Rows()) {
        auto* item = new QTreeWidgetItem(llist);
        item->setText(0, QFileInfo(row.source).fileName());
        item->setData(0, Qt::UserRole, row.source);
        item->setText(1, row.targetName);
        item->setData(1, Qt::UserRole, row.target);
        item->setToolTip(1, row.target);
        item->setText(2, StateText(row.state));
    }
    connect(m_job, &ConvertJob::rowChanged, this, &frmConvert::showRow);
    connect(m_job, &ConvertJob::currentProgress, pbFile, &QProgressBar::setValue);
    connect(m_job, &ConvertJob::overallProgress, pbTotal, &QProgressBar::setValue);
    connect(m_job, &ConvertJob::progressUnknown, this, [this](bool unknown) {
        pbFile->setVisible(!unknown);
        lblWait->setVisible(unknown);
    });
    connect(m_job, &ConvertJob::finished, this, &frmConvert::jobFinished);
    m_job->Start();
}

void frmConvert::showRow(int row) {
    QTreeWidgetItem* item = llist->topLevelItem(row);
    if (!item) return;
    const ConvertRow& r = m_job->Rows().at(row);
    item->setText(2, StateText(r.state));
    item->setToolTip(2, r.reason);
    const int rgb = StateColor(r.state);
    for (int c = 0; c < 3; ++c)
        item->setForeground(c, rgb < 0 ? palette().text() : QBrush(QColor::fromRgb(rgb)));
    llist->scrollToItem(item);
}

void frmConvert::jobFinished(int outcome) {
    m_libraryChanged = m_job->LibraryChanged();
    switch (outcome) {
    case ConvertJob::Canceled:
        Dialogs::current().MsgBox(MessageText(CanceledText), Dialogs::Information,
                                  TitleText("Canceled"));
        break;
    case ConvertJob::CompletedWithErrors:
        Dialogs::current().MsgBox(MessageText(CompletedWithErrorsText), Dialogs::Exclamation,
                                  TitleText("Results"));
        break;
    default:
        Dialogs::current().MsgBox(MessageText(CompletedText), Dialogs::Information,
                                  TitleText("Success"));
    }
    nextBUT->setEnabled(true);
    accept();
}

void frmConvert::reject() {
    if (m_job && m_job->IsRunning()) return askCancel();
    QDialog::reject();
}

void frmConvert::askCancel() {
    if (!cancelBUT->isEnabled()) return; // already asked for
    if (Dialogs::current().MsgBox(MessageText(CancelQuestionText),
                                  Dialogs::YesNo | Dialogs::Question,
                                  TitleText("Cancel")) != Dialogs::Yes)
        return;
    if (!m_job || !m_job->IsRunning()) return;
    cancelBUT->setEnabled(false);
    m_job->Cancel();
}
