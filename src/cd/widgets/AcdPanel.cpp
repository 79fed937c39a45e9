#include "cd/widgets/AcdPanel.h"

#include "cd/DiscGenre.h"
#include "cd/RipRequest.h"
#include "cd/clsRIP.h"
#include "cddb/CdInfo.h"
#include "lang/AppLang.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int TitleColumn = 0;

// Only the title is typed in place; the number and length come from the disc.
class TitleOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != TitleColumn) return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
};

// Labels whose text the program sets get no language key.
QLabel* factLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty("noLangText", true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* dataEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

AcdPanel::AcdPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("acdFrame"));

    tlist = new QTreeWidget(this);
    tlist->setObjectName(QStringLiteral("tlist"));
    tlist->setRootIsDecorated(false);
    tlist->setUniformRowHeights(true);
    tlist->setAllColumnsShowFocus(true);
    tlist->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tlist->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    tlist->setItemDelegate(new TitleOnlyDelegate(tlist));
    tlist->setHeaderLabels(
        {QStringLiteral("Title"), QStringLiteral("Track"), QStringLiteral("Length")});
    tlist->header()->setStretchLastSection(false);
    tlist->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tlist->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tlist->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    cdiTracks = factLabel(this, "cdiTracks");
    cdiLength = factLabel(this, "cdiLength");
    cdiID = factLabel(this, "cdiID");
    cdiArtist = dataEdit(this, "cdiArtist");
    cdiAlbum = dataEdit(this, "cdiAlbum");
    cdiYear = dataEdit(this, "cdiYear");
    cdiYear->setMaximumWidth(cdiYear->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                             16);
    cdiGenre = new QComboBox(this);
    cdiGenre->setObjectName(QStringLiteral("cdiGenre"));
    cdiGenre->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    btGetCDInfo = new QPushButton(QStringLiteral("Get CD Info"), this);
    btGetCDInfo->setObjectName(QStringLiteral("btGetCDInfo"));
    connect(btGetCDInfo, &QPushButton::clicked, this, &AcdPanel::GetCDInfo);
    const QString ripTexts[] = {QStringLiteral("Rip all"), QStringLiteral("Rip selected")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(ripTexts[i], this);
        button->setObjectName(QStringLiteral("btRipCD"));
        button->setProperty("index", i);
        connect(button, &QPushButton::clicked, this, [this, i] { RipCD(i); });
        btRipCD.append(button);
    }

    buildLayout();
    Reset();
}

QLabel* AcdPanel::caption(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    return label;
}

void AcdPanel::buildLayout() {
    auto* data = new QFormLayout;
    data->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    data->addRow(caption("lblCdiArtist", QStringLiteral("Artist:")), cdiArtist);
    data->addRow(caption("lblCdiAlbum", QStringLiteral("Album:")), cdiAlbum);
    data->addRow(caption("lblCdiYear", QStringLiteral("Year:")), cdiYear);
    data->addRow(caption("lblCdiGenre", QStringLiteral("Genre:")), cdiGenre);

    auto* facts = new QFormLayout;
    facts->addRow(caption("lblCdiTracks", QStringLiteral("Tracks:")), cdiTracks);
    facts->addRow(caption("lblCdiLength", QStringLiteral("Length:")), cdiLength);
    facts->addRow(caption("lblCdiID", QStringLiteral("Disc ID:")), cdiID);

    auto* top = new QHBoxLayout;
    top->addLayout(data, 3);
    top->addSpacing(24);
    top->addLayout(facts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btGetCDInfo);
    buttons->addStretch(1);
    buttons->addWidget(btRipCD.at(0));
    buttons->addWidget(btRipCD.at(1));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tlist, 1);
    layout->addLayout(buttons);
}

void AcdPanel::Reset() {
    setProperty("tag", QString());
    m_disc = {};
    for (QLabel* fact : {cdiTracks, cdiLength, cdiID})
        fact->clear();
    cdiID->setProperty("tag", QString());
    for (QLineEdit* edit : {cdiAlbum, cdiArtist, cdiYear})
        edit->clear();
    if (cdiGenre->count() > 0) cdiGenre->setCurrentIndex(0);
    // A stale node shows an empty panel, not the tracks of the disc shown before.
    tlist->clear();
    btGetCDInfo->setEnabled(false);
    for (QPushButton* button : std::as_const(btRipCD))
        button->setEnabled(false);
}

void AcdPanel::ShowDisc(int number, const clsRIP& rip, const cd::CdDrive& disc) {
    setProperty("tag", QString::number(number));
    m_disc = disc;
    tlist->clear();
    const int count = rip.TrackCount();
    m_trackWord = mainMod::LangText(57);
    QList<QTreeWidgetItem*> entries;
    for (int i = 1; i <= count; ++i) {
        auto* entry = new QTreeWidgetItem({m_trackWord + QLatin1Char(' ') + QString::number(i),
                                           QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')),
                                           rip.TrackLength(i)});
        entry->setFlags(entry->flags() | Qt::ItemIsEditable);
        entry->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        entry->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        entries.append(entry);
    }
    tlist->addTopLevelItems(entries);

    cdiTracks->setText(QString::number(count));
    cdiLength->setText(rip.DiscLength());
    bool isNumber = false;
    const uint id = rip.DiscId().toUInt(&isNumber, 16);
    cdiID->setText(isNumber ? QString::number(id, 16).toUpper() : QString());
    cdiID->setProperty("tag", rip.CddbQuery());

    btGetCDInfo->setEnabled(!cddbQuery().isEmpty());
    for (QPushButton* button : std::as_const(btRipCD))
        button->setEnabled(count > 0);
}

void AcdPanel::LanguageChanged() {
    const QString word = mainMod::LangText(57);
    for (int i = 0; i < tlist->topLevelItemCount(); ++i) {
        QTreeWidgetItem* entry = tlist->topLevelItem(i);
        const QString standard = QLatin1Char(' ') + QString::number(i + 1);
        if (entry->text(TitleColumn) == m_trackWord + standard)
            entry->setText(TitleColumn, word + standard);
    }
    m_trackWord = word;
}

int AcdPanel::cdNumber() const {
    return property("tag").toString().toInt();
}

QString AcdPanel::cddbQuery() const {
    return cdiID->property("tag").toString();
}

void AcdPanel::GetCDInfo() {
    const QString query = cddbQuery();
    if (query.isEmpty() || !m_lookUp) return;
    CdInfo info;
    if (!m_lookUp(query, info)) return;
    applyInfo(info);
}

void AcdPanel::applyInfo(const CdInfo& info) {
    const int entries = std::min(tlist->topLevelItemCount(), CdInfo::MaxTracks);
    for (int i = 0; i < entries; ++i)
        tlist->topLevelItem(i)->setText(TitleColumn, info.tracks.at(i).title);
    cdiArtist->setText(info.artist);
    cdiAlbum->setText(info.album);
    cdiYear->setText(info.year);
    const int at = cdiGenre->findData(cd::DiscGenreNumber(info.genre, info.category));
    if (at >= 0) cdiGenre->setCurrentIndex(at);
}

RipRequest AcdPanel::ripRequest(int index) const {
    RipRequest request;
    request.album = cdiAlbum->text();
    request.artist = cdiArtist->text();
    request.year = cdiYear->text();
    request.genreNumber = cdiGenre->currentIndex() >= 0 ? cdiGenre->currentData().toInt() : 255;
    request.genreText = cdiGenre->currentText();
    request.drive = cdNumber();
    for (int i = 0; i < tlist->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* entry = tlist->topLevelItem(i);
        if (index == 0 || entry->isSelected())
            request.tracks.append({entry->text(TitleColumn), i + 1});
    }
    return request;
}

void AcdPanel::RipCD(int index) {
    if (tlist->topLevelItemCount() == 0 || !m_ripWizard) return;
    m_ripWizard(ripRequest(index));
}
