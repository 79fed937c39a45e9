#include "library/widgets/configForm.h"

#include "cddb/CddbSettings.h"
#include "core/widgets/WindowHelpers.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

bool AppSettings::*configForm::Setting(int index) {
    static bool AppSettings::*const settings[OptionCount] = {
        &AppSettings::ShowLoadWindow,    &AppSettings::DefragDatabaseOnLoad,
        &AppSettings::MPDefaultPlayer,   &AppSettings::WinampMenu,
        &AppSettings::LibRefreshResults, &AppSettings::NewAudioCD,
        &AppSettings::ShowLogo,          &AppSettings::CheckForUpdates};
    return index >= 0 && index < OptionCount ? settings[index] : nullptr;
}

configForm::configForm(AppSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("configForm"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    static const char* const captions[OptionCount] = {
        "Show the splash window while starting and closing",
        "Compact the library database once a day at start",
        "Play files in the built-in player by default",
        "Show the Winamp entries in the list menu",
        "Report the results of a library refresh",
        "Announce an inserted audio CD",
        "Show the logo behind the file list",
        "Check for updates once a day"};
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < OptionCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(captions[i]), this);
        box->setObjectName(QStringLiteral("cfg_opt"));
        box->setProperty("index", i);
        box->setChecked(m_settings.*Setting(i));
        cfg_opt.append(box);
        layout->addWidget(box);
    }
    buildCddb();
    layout->addWidget(cddbFrame);

    const mainMod::OkCancelButtons buttons = mainMod::MakeOkCancel(this, &m_result);
    okBut = buttons.ok;
    cancelBUT = buttons.cancel;
    connect(okBut, &QPushButton::clicked, this, [this] {
        save();
        m_result = 1;
        accept();
    });
    layout->addStretch(1);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void configForm::buildCddb() {
    const cddb::ServerSettings stored = cddb::ReadServerSettings();
    cddbFrame = new QGroupBox(QStringLiteral("CDDB album data"), this);
    cddbFrame->setObjectName(QStringLiteral("cddbFrame"));
    auto* form = new QFormLayout(cddbFrame);
    auto row = [this, form](const char* name, const char* caption, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(caption), cddbFrame);
        label->setObjectName(QLatin1String(name));
        label->setBuddy(field);
        form->addRow(label, field);
    };
    txtServer = new QLineEdit(stored.host, cddbFrame);
    txtServer->setObjectName(QStringLiteral("txtServer"));
    txtPort = new QSpinBox(cddbFrame);
    txtPort->setObjectName(QStringLiteral("txtPort"));
    txtPort->setRange(1, 65535);
    txtPort->setValue(stored.port);
    txtHelloUser = new QLineEdit(stored.helloUser, cddbFrame);
    txtHelloUser->setObjectName(QStringLiteral("txtHelloUser"));
    txtHelloHost = new QLineEdit(stored.helloHost, cddbFrame);
    txtHelloHost->setObjectName(QStringLiteral("txtHelloHost"));
    // The values are the user's, not texts of the language.
    for (QWidget* field :
         {static_cast<QWidget*>(txtServer), static_cast<QWidget*>(txtPort),
          static_cast<QWidget*>(txtHelloUser), static_cast<QWidget*>(txtHelloHost)})
        field->setProperty("noLangText", true);
    row("lblServer", "&Server:", txtServer);
    row("lblPort", "&Port:", txtPort);
    row("lblHelloUser", "&User (e-mail):", txtHelloUser);
    row("lblHelloHost", "&Host name:", txtHelloHost);
}

void configForm::save() {
    const bool logo = m_settings.ShowLogo;
    for (int i = 0; i < OptionCount; ++i)
        m_settings.*Setting(i) = cfg_opt[i]->isChecked();
    m_logoChanged = logo != m_settings.ShowLogo;
    SaveSettings(m_settings);
    cddb::ServerSettings server = cddb::ReadServerSettings();
    const cddb::ServerSettings defaults;
    auto orDefault = [](const QLineEdit* edit, const QString& fallback) {
        const QString text = edit->text().trimmed();
        return text.isEmpty() ? fallback : text;
    };
    server.host = orDefault(txtServer, defaults.host);
    server.port = static_cast<quint16>(txtPort->value());
    server.helloUser = orDefault(txtHelloUser, defaults.helloUser);
    server.helloHost = orDefault(txtHelloHost, defaults.helloHost);
    cddb::WriteServerSettings(server);
}
