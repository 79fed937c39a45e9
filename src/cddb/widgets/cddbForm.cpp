#include "cddb/widgets/cddbForm.h"

#include "cddb/CddbClient.h"
#include "core/Dialogs.h"
#include "core/widgets/Artwork.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

constexpr int KeyRole = Qt::UserRole + 1;
const QSize kProgressSize(400, 130);
const QSize kSelectionSize(680, 460);

} // namespace

cddbForm::cddbForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cddbForm"));
    setWindowTitle(QStringLiteral("CD Information"));
    setModal(true);
    m_client = new cddb::CddbClient(this);
    build();
    applyLanguage();
    resize(kProgressSize);
}

cddbForm::~cddbForm() = default;

void cddbForm::build() {
    mainFrame = named(new QFrame(this), "mainFrame");
    actionLbl = named(new QLabel(QStringLiteral("Looking up the disc..."), mainFrame), "actionLbl");
    actionLbl->setWordWrap(true);
    cancelBUT = named(new QPushButton(QStringLiteral("Cancel"), mainFrame), "cancelBUT");
    auto* progress = new QVBoxLayout(mainFrame);
    progress->addWidget(actionLbl, 1);
    auto* progressButtons = new QHBoxLayout;
    progressButtons->addStretch(1);
    progressButtons->addWidget(cancelBUT);
    progress->addLayout(progressButtons);

    asFrame = named(new QFrame(this), "asFrame");
    llist = named(new QTreeWidget(asFrame), "llist");
    llist->setColumnCount(3);
    llist->setHeaderLabels(
        {QStringLiteral("Album"), QStringLiteral("Artist"), QStringLiteral("Category")});
    llist->setRootIsDecorated(false);
    llist->setSelectionMode(QAbstractItemView::SingleSelection);
    llist->header()->setSectionResizeMode(QHeaderView::Interactive);
    // Room for the category column beside album and artist.
    llist->setColumnWidth(0, 180);
    llist->setColumnWidth(1, 130);
    tlAlbum = named(new QLabel(asFrame), "tlAlbum");
    tlAlbum->setProperty(FormLang::NoLangTextProperty, true);
    tlAlbum->setTextFormat(Qt::PlainText);
    tlAlbum->setWordWrap(true);
    tlist = named(new QListWidget(asFrame), "tlist");
    okBut = named(new QPushButton(QStringLiteral("OK"), asFrame), "okBut");
    okBut->setDefault(true);
    cancelBUT2 = named(new QPushButton(QStringLiteral("Cancel"), asFrame), "cancelBUT2");
    auto* details = new QVBoxLayout;
    details->addWidget(tlAlbum);
    details->addWidget(tlist, 1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(llist, 3);
    lists->addLayout(details, 2);
    auto* selectionButtons = new QHBoxLayout;
    selectionButtons->addStretch(1);
    selectionButtons->addWidget(okBut);
    selectionButtons->addWidget(cancelBUT2);
    auto* selection = new QVBoxLayout(asFrame);
    selection->addLayout(lists, 1);
    selection->addLayout(selectionButtons);
    asFrame->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mainFrame);
    layout->addWidget(asFrame);

    connect(cancelBUT, &QPushButton::clicked, this, &cddbForm::cancelTransfer);
    connect(okBut, &QPushButton::clicked, this, &cddbForm::choose);
    connect(llist, &QTreeWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(llist, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showDetails(item); });
    connect(cancelBUT2, &QPushButton::clicked, this, &cddbForm::reject);
}

void cddbForm::applyLanguage() {
    FormLang::SetFormLang(this);
    if (asFrame->isVisibleTo(this)) {
        const QString caption = mainMod::LangText(82);
        if (!caption.isEmpty()) setWindowTitle(caption);
    }
}

void cddbForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) applyLanguage();
    QDialog::changeEvent(event);
}

QString cddbForm::CDI_TRACK(quint8 index) const {
    Q_ASSERT(index < CdInfo::MaxTracks);
    return index < CdInfo::MaxTracks ? m_result.tracks[index].title : QString();
}

void cddbForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The look-up starts once the window is up, so that its progress shows.
    if (m_firstActivation) QTimer::singleShot(0, this, &cddbForm::firstActivation);
    m_firstActivation = false;
}

void cddbForm::firstActivation() {
    m_success = false;
    if (!isVisible()) return;
    lookUp();
    if (!m_selectionPending && isVisible()) done(m_success ? QDialog::Accepted : QDialog::Rejected);
}

void cddbForm::report(int failure) {
    const cddb::FailureMessage message = cddb::MessageOf(static_cast<cddb::Failure>(failure));
    Dialogs::current().MsgBox(message.prompt, Dialogs::Exclamation, message.caption);
}

void cddbForm::lookUp() {
    const cddb::QueryAnswer answer = m_client->Query(m_query);
    if (answer.failure != cddb::Failure::None) {
        report(static_cast<int>(answer.failure));
        return;
    }
    if (!answer.several()) {
        m_result = answer.result;
        actionLbl->setText(mainMod::LangText(83));
        const cddb::Failure read = m_client->Read(m_result);
        if (read != cddb::Failure::None) report(static_cast<int>(read));
        m_success = read == cddb::Failure::None;
        return;
    }
    m_result = answer.result;
    for (const cddb::Match& match : answer.matches) {
        auto* item =
            new QTreeWidgetItem(llist, {match.disc.album, match.disc.artist, match.disc.category});
        item->setData(0, Qt::UserRole, match.disc.category);
        item->setData(0, KeyRole, QStringLiteral("k%1_%2").arg(match.line).arg(match.disc.discId));
        item->setIcon(0, Artwork::Icon(QStringLiteral("cd")));
    }
    // Every candidate is read before the list can be used.
    for (int i = 0; i < llist->topLevelItemCount() && !m_cancelled; ++i) {
        const QTreeWidgetItem* item = llist->topLevelItem(i);
        CdInfo candidate;
        candidate.album = item->text(0);
        candidate.artist = item->text(1);
        candidate.category = item->data(0, Qt::UserRole).toString();
        candidate.discId = item->data(0, KeyRole).toString().section(QLatin1Char('_'), 1);
        actionLbl->setText(mainMod::LangText(83));
        const cddb::Failure read = m_client->Read(candidate);
        if (read != cddb::Failure::None) report(static_cast<int>(read));
        m_candidates.append(candidate);
    }
    if (m_cancelled) return;
    showSelection();
}

void cddbForm::showSelection() {
    const QString caption = mainMod::LangText(82);
    if (!caption.isEmpty()) setWindowTitle(caption);
    const QPoint centre = geometry().center();
    mainFrame->hide();
    asFrame->show();
    resize(kSelectionSize.expandedTo(minimumSizeHint()));
    move(centre - QPoint(width() / 2, height() / 2));
    m_selectionPending = true;
    if (llist->topLevelItemCount() > 0) llist->setCurrentItem(llist->topLevelItem(0));
    llist->setFocus();
}

void cddbForm::showDetails(QTreeWidgetItem* item) {
    tlist->clear();
    const int row = item ? llist->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= m_candidates.size()) {
        tlAlbum->clear();
        return;
    }
    const CdInfo& c = m_candidates.at(row);
    tlAlbum->setText(QStringLiteral("Album/Year: %1 (%2)\nArtist:%3\nGenre: %4")
                         .arg(c.album, c.year, c.artist, c.genre));
    for (int i = 0; i < c.trackCount; ++i)
        tlist->addItem(QStringLiteral("%1 - %2")
                           .arg(c.tracks[i].number, 2, 10, QLatin1Char('0'))
                           .arg(c.tracks[i].title));
}

void cddbForm::choose() {
    const int row = llist->indexOfTopLevelItem(llist->currentItem());
    if (llist->topLevelItemCount() == 0 || row < 0 || row >= m_candidates.size()) return;
    m_success = true;
    m_result = m_candidates.at(row);
    m_selectionPending = false;
    accept();
}

void cddbForm::cancelTransfer() {
    cancelBUT->setEnabled(false);
    reject();
}

void cddbForm::reject() {
    // Escape and the close box end a transfer under way as Cancel does.
    m_cancelled = true;
    m_success = false;
    m_selectionPending = false;
    m_client->Cancel();
    QDialog::reject();
}
