#include "library/widgets/listTreeConfig.h"

#include "core/widgets/WindowHelpers.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

listTreeConfig::listTreeConfig(int selectionType, const QStringList& titles,
                               const AppSettings& settings, QWidget* parent)
    : QDialog(parent), m_type(selectionType) {
    setObjectName(QStringLiteral("listTreeConfig"));
    setWindowTitle(QStringLiteral("Choose What to Show"));
    setModal(true);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    for (int i = 0; i < titles.size(); ++i) {
        bool ticked = true;
        if (m_type == 0 && i < AppSettings::ColumnCount)
            ticked = settings.Columns[i].Show || i == 0;
        else if (m_type == 1)
            ticked = i == 0 || (i == 1 && settings.ShowFilters) ||
                     (i == 2 && settings.ShowRatings) || (i == 3 && settings.ShowVFolders);
        auto* item = new QListWidgetItem(titles[i], List1);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    // The first entry (the file name, or the library) can never be cleared.
    connect(List1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (List1->row(item) == 0 && item->checkState() != Qt::Checked)
            item->setCheckState(Qt::Checked);
    });

    const mainMod::OkCancelButtons buttons = mainMod::MakeOkCancel(this, &m_result);
    okBut = buttons.ok;
    cancelBUT = buttons.cancel;
    connect(okBut, &QPushButton::clicked, this, [this] {
        m_result = 1;
        accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1);
    layout->addLayout(buttons.row);
    resize(280, 340);
}

void listTreeConfig::applyTo(AppSettings& settings) const {
    auto ticked = [this](int row) {
        const QListWidgetItem* item = List1->item(row);
        return item && item->checkState() == Qt::Checked;
    };
    if (m_type == 0) {
        settings.Columns[0].Show = true;
        for (int i = 1; i < AppSettings::ColumnCount; ++i)
            settings.Columns[i].Show = ticked(i);
    } else {
        settings.ShowLibrary = true;
        settings.ShowFilters = ticked(1);
        settings.ShowRatings = ticked(2);
        settings.ShowVFolders = ticked(3);
    }
}
