#include "core/widgets/sysInfoForm.h"

#include "core/AppInfo.h"
#include "lang/AppLang.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

sysInfoForm::sysInfoForm(const LibraryFacts& facts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sysInfoForm"));
    setWindowTitle(QStringLiteral("System Information"));
    setModal(true);
    resize(560, 380);

    m_rows = new QTreeWidget(this);
    m_rows->setObjectName(QStringLiteral("infoList"));
    m_rows->setColumnCount(2);
    m_rows->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Value")});
    m_rows->setRootIsDecorated(false);
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_rows->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto addGroup = [this](const QString& title, const InfoRows& rows) {
        auto* group = new QTreeWidgetItem(m_rows, {title});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        for (const auto& row : rows)
            new QTreeWidgetItem(m_rows, {row.first, row.second});
    };
    const SystemInfo::Label label = [](int number, const QString& english) {
        const QString text = mainMod::LangText(number);
        return text.isEmpty() ? english : text;
    };
    addGroup(mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersion(),
             SystemInfo::PlatformRows(label));
    addGroup(label(SystemInfo::LibraryGroupText, QStringLiteral("Library")),
             SystemInfo::LibraryRows(facts, label));
    m_report = mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersion() + QLatin1Char('\n') +
               SystemInfo::Report(facts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("btCopy"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(m_report); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rows);
    layout->addWidget(buttons);
}
