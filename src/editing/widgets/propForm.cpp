#include "editing/widgets/propForm.h"

#include "components/MediaLibrary.h"
#include "components/TagService.h"
#include "core/Dialogs.h"
#include "core/widgets/Artwork.h"
#include "core/widgets/WindowHelpers.h"
#include "editing/PropsView.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int LocationWidth = 320; // pixels the shortened folder may take
constexpr int CoverSide = 96;

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty(FormLang::NoLangTextProperty, true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* captionLabel(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QLatin1String(text), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* tagEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setProperty(FormLang::NoLangTextProperty, true);
    return edit;
}

} // namespace

propForm::propForm(MediaLibrary& library, QWidget* parent) : QDialog(parent), m_library(library) {
    setObjectName(QStringLiteral("propForm"));
    setWindowTitle(QStringLiteral("Properties"));
    setModal(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildGeneralTab(), QStringLiteral("General"));
    SSTab1->addTab(buildTagTab(), QStringLiteral("Id3/Tag"));
    SSTab1->addTab(buildLibraryTab(), QStringLiteral("Library"));

    okBut = new QPushButton(QStringLiteral("OK"), this);
    okBut->setObjectName(QStringLiteral("okBut"));
    okBut->setDefault(true);
    cancelBUT = new QPushButton(QStringLiteral("Cancel"), this);
    cancelBUT->setObjectName(QStringLiteral("cancelBUT"));
    applyBUT = new QPushButton(QStringLiteral("&Apply"), this);
    applyBUT->setObjectName(QStringLiteral("applyBUT"));
    applyBUT->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBut);
    buttons->addWidget(cancelBUT);
    buttons->addWidget(applyBUT);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    // Opening: the texts of the current language, the lists, result "cancel".
    FormLang::SetFormLang(this);
    for (const auto& [name, number] : TagService::GenreList(true))
        cmbGenre->addItem(name, number);
    cmbRating->addItems(props::RatingNames());
    connectControls();
}

QWidget* propForm::buildGeneralTab() {
    auto* page = new QWidget;
    icn = new QLabel(page);
    icn->setObjectName(QStringLiteral("icn"));
    icn->setFixedSize(32, 32);
    ffFilename = valueLabel(page, "ffFilename");
    ffLocation = valueLabel(page, "ffLocation");
    ffLocation->setMinimumWidth(LocationWidth);
    ffType = valueLabel(page, "ffType");
    ffSize = valueLabel(page, "ffSize");
    ffCreated = valueLabel(page, "ffCreated");
    ffModified = valueLabel(page, "ffModified");
    ffAccessed = valueLabel(page, "ffAccessed");
    ffBitrate = valueLabel(page, "ffBitrate");
    ffFreq = valueLabel(page, "ffFreq");
    ffDuration = valueLabel(page, "ffDuration");
    imgCover = new QLabel(page);
    imgCover->setObjectName(QStringLiteral("imgCover"));
    imgCover->setFixedSize(CoverSide, CoverSide);
    imgCover->setAlignment(Qt::AlignCenter);
    imgCover->setVisible(false);

    auto* top = new QHBoxLayout;
    top->addWidget(icn);
    top->addWidget(ffFilename, 1);
    auto* form = new QFormLayout;
    form->addRow(captionLabel(page, "lblLocation", "Location:"), ffLocation);
    form->addRow(captionLabel(page, "lblType", "Type:"), ffType);
    form->addRow(captionLabel(page, "lblSize", "Size:"), ffSize);
    form->addRow(captionLabel(page, "lblCreated", "Created:"), ffCreated);
    form->addRow(captionLabel(page, "lblModified", "Modified:"), ffModified);
    form->addRow(captionLabel(page, "lblAccessed", "Accessed:"), ffAccessed);
    form->addRow(captionLabel(page, "lblBitrate", "Bit rate:"), ffBitrate);
    form->addRow(captionLabel(page, "lblFreq", "Frequency:"), ffFreq);
    form->addRow(captionLabel(page, "lblDuration", "Duration:"), ffDuration);
    auto* facts = new QHBoxLayout;
    facts->addLayout(form, 1);
    facts->addWidget(imgCover, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(facts);
    layout->addStretch();
    return page;
}

QWidget* propForm::buildTagTab() {
    auto* page = new QWidget;
    idTitle = tagEdit(page, "idTitle");
    idArtist = tagEdit(page, "idArtist");
    idAlbum = tagEdit(page, "idAlbum");
    idYear = tagEdit(page, "idYear");
    idTrack = tagEdit(page, "idTrack");
    idGenre = tagEdit(page, "idGenre");
    idGenre->installEventFilter(this);
    cmbGenre = new QComboBox(page);
    cmbGenre->setObjectName(QStringLiteral("cmbGenre"));
    auto* genre = new QHBoxLayout;
    genre->addWidget(idGenre, 1);
    genre->addWidget(cmbGenre, 1);
    auto* form = new QFormLayout(page);
    form->addRow(captionLabel(page, "lblTitle", "Title:"), idTitle);
    form->addRow(captionLabel(page, "lblArtist", "Artist:"), idArtist);
    form->addRow(captionLabel(page, "lblAlbum", "Album:"), idAlbum);
    form->addRow(captionLabel(page, "lblYear", "Year:"), idYear);
    form->addRow(captionLabel(page, "lblTrack", "Track:"), idTrack);
    form->addRow(captionLabel(page, "lblGenre", "Genre:"), genre);
    return page;
}

QWidget* propForm::buildLibraryTab() {
    auto* page = new QWidget;
    cmbRating = new QComboBox(page);
    cmbRating->setObjectName(QStringLiteral("cmbRating"));
    ffAdded = valueLabel(page, "ffAdded");
    ffUpdated = valueLabel(page, "ffUpdated");
    ffPCount = valueLabel(page, "ffPCount");
    auto* form = new QFormLayout(page);
    form->addRow(captionLabel(page, "lblRating", "Rating:"), cmbRating);
    form->addRow(captionLabel(page, "lblAdded", "Added to the library:"), ffAdded);
    form->addRow(captionLabel(page, "lblUpdated", "Last updated:"), ffUpdated);
    form->addRow(captionLabel(page, "lblPCount", "Times played:"), ffPCount);
    return page;
}

void propForm::connectControls() {
    const QList<QPair<QLineEdit*, props::Field>> edits = {{idTitle, props::Field::Title},
                                                          {idArtist, props::Field::Artist},
                                                          {idAlbum, props::Field::Album},
                                                          {idYear, props::Field::Year},
                                                          {idTrack, props::Field::Track}};
    for (const auto& [edit, field] : edits) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit = edit, field = field](const QString& text) {
                    changed(edit, field, text);
                });
    }
    connect(idGenre, &QLineEdit::textChanged, this, [this] { idGenre_Change(); });
    connect(cmbGenre, &QComboBox::activated, this, [this](int i) { cmbGenre_Click(i); });
    connect(cmbRating, &QComboBox::activated, this, [this](int i) { cmbRating_Click(i); });
    connect(applyBUT, &QPushButton::clicked, this, &propForm::applyBUT_Click);
    connect(okBut, &QPushButton::clicked, this, &propForm::okBut_Click);
    connect(cancelBUT, &QPushButton::clicked, this, &propForm::cancelBUT_Click);
}

bool propForm::Load(const QString& file) {
    FileRecord record;
    if (!m_library.GetFileRecord(file, record)) return false;
    m_edit = props::PropsEdit(record);
    fill();
    return true;
}

void propForm::fill() {
    m_loading = true;
    const props::PropsView v = props::Describe(m_library, m_edit.File);
    SSTab1->setCurrentIndex(GeneralTab);
    SSTab1->setTabEnabled(LibraryTab, v.libraryTab);
    SSTab1->setTabEnabled(TagTab, v.tagTab);

    icn->setPixmap(Artwork::Picture(v.iconKey, icn->size()));
    ffFilename->setText(v.fileName);
    ffLocation->setText(mainMod::CompactPath(v.location, LocationWidth, 0, ffLocation->font()));
    ffLocation->setToolTip(v.location);
    ffType->setText(v.type);

    imgCover->setVisible(false);
    if (!v.coverPath.isEmpty()) {
        const QPixmap cover(v.coverPath);
        if (!cover.isNull()) {
            imgCover->setPixmap(
                cover.scaled(imgCover->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            imgCover->setVisible(true);
        }
    }

    ffSize->setText(v.size);
    ffCreated->setText(v.created);
    ffModified->setText(v.modified);
    ffAccessed->setText(v.accessed);

    idAlbum->setText(v.album);
    idArtist->setText(v.artist);
    idGenre->setText(v.genre);
    idTitle->setText(v.title);
    idTrack->setText(v.track);
    idYear->setText(v.year);

    ffBitrate->setText(v.bitrate);
    ffFreq->setText(v.frequency);
    ffDuration->setText(v.duration);

    cmbGenre->setCurrentIndex(v.genreIndex);
    cmbRating->setCurrentIndex(v.libraryTab ? v.rating : 0);
    ffAdded->setText(v.added);
    ffUpdated->setText(v.updated);
    ffPCount->setText(v.playCount);
    m_loading = false;
}

void propForm::changed(QWidget* control, props::Field field, const QString& text) {
    if (m_loading) return;
    control->setProperty(TagProperty, QStringLiteral("X"));
    applyBUT->setEnabled(true);
    if (field != props::Field::Rating) m_edit.setText(field, text);
}

void propForm::idGenre_Change() {
    if (m_loading) return;
    idGenre->setProperty(TagProperty, QStringLiteral("X"));
    applyBUT->setEnabled(true);
    m_edit.setGenre(cmbGenre->currentData().toInt(), idGenre->text());
}

void propForm::cmbGenre_Click(int index) {
    if (m_loading || index < 0) return;
    idGenre->setText(cmbGenre->itemText(index));
    // Picking the entry the box already shows is still a choice.
    idGenre_Change();
}

void propForm::cmbRating_Click(int index) {
    if (m_loading || index < 0) return;
    cmbRating->setProperty(TagProperty, QStringLiteral("X"));
    applyBUT->setEnabled(true);
    m_edit.setRating(index);
}

bool propForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == idGenre && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            // The genre goes as a whole: typed text would no longer match the list.
            if (cmbGenre->currentIndex() != 0) cmbGenre->setCurrentIndex(0);
            if (!idGenre->text().isEmpty()) idGenre->clear();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void propForm::applyBUT_Click() {
    const QStringList failures = m_edit.Apply(m_library);
    for (QWidget* w : {static_cast<QWidget*>(idTitle), static_cast<QWidget*>(idArtist),
                       static_cast<QWidget*>(idAlbum), static_cast<QWidget*>(idYear),
                       static_cast<QWidget*>(idTrack), static_cast<QWidget*>(idGenre),
                       static_cast<QWidget*>(cmbRating)})
        w->setProperty(TagProperty, QString());
    applyBUT->setEnabled(false);
    if (!failures.isEmpty()) {
        QString text = mainMod::LangText(950, {failures.join(QStringLiteral("||"))});
        if (text.isEmpty())
            text = QStringLiteral("Some changes could not be saved:||") +
                   failures.join(QStringLiteral("||"));
        text.replace(QStringLiteral("||"), QStringLiteral("\n"));
        QString title = mainMod::LangText(951);
        if (title.isEmpty()) title = windowTitle();
        Dialogs::current().MsgBox(text, Dialogs::Exclamation, title);
    }
}

void propForm::okBut_Click() {
    if (applyBUT->isEnabled()) applyBUT_Click();
    m_result = 1;
    hideForm();
}

void propForm::cancelBUT_Click() {
    m_result = 2;
    hideForm();
}

void propForm::reject() {
    cancelBUT_Click();
}

void propForm::hideForm() {
    m_hiding = true;
    hide(); // ends exec(); the caller reads the flags, then deletes the window
}

void propForm::closeEvent(QCloseEvent* event) {
    // The close box only hides the window, like Cancel.
    if (!m_hiding) {
        event->ignore();
        cancelBUT_Click();
        return;
    }
    QDialog::closeEvent(event);
}
