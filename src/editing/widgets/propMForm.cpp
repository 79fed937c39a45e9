#include "editing/widgets/propMForm.h"

#include "lang/widgets/FormLang.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

propMForm::propMForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("propMForm"));
    setWindowTitle(QStringLiteral("Properties"));
    setModal(true);
    const char* const captions[] = {"Selected files:", "Total size:", "Total duration:"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(QLatin1String(captions[i]), this);
        caption->setObjectName(QStringLiteral("lblInfo"));
        caption->setProperty("index", i);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("info"));
        value->setProperty("index", i);
        value->setProperty(FormLang::NoLangTextProperty, true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(caption, i, 0);
        grid->addWidget(value, i, 1);
        lblInfo << caption;
        info << value;
    }
    grid->setColumnStretch(1, 1);
    flist = new QListWidget(this);
    flist->setObjectName(QStringLiteral("flist"));
    flist->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    flist->setMinimumSize(420, 160);
    closeBut = new QPushButton(QStringLiteral("&Close"), this);
    closeBut->setObjectName(QStringLiteral("closeBut"));
    closeBut->setDefault(true);
    connect(closeBut, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(flist, 1);
    layout->addLayout(buttons);
    FormLang::SetFormLang(this);
}

void propMForm::setSummary(const props::SelectionSummary& summary) {
    for (int i = 0; i < info.size() && i < summary.info.size(); ++i)
        info[i]->setText(summary.info[i]);
    flist->clear();
    flist->addItems(summary.paths);
}

void propMForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    measureList();
}

void propMForm::measureList() {
    // Long paths: the list scrolls sideways far enough to show the widest one
    // next to the vertical scroll bar.
    const QFontMetrics fm(flist->font());
    int widest = 0;
    for (int i = 0; i < flist->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(flist->item(i)->text()));
    m_extent = 0;
    if (widest > flist->viewport()->width()) {
        m_extent = widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
        flist->horizontalScrollBar()->setRange(0, m_extent - flist->viewport()->width());
    }
}
