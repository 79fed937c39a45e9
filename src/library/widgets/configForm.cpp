#include "library/widgets/configForm.h"

#include "core/widgets/WindowHelpers.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
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

void configForm::save() {
    const bool logo = m_settings.ShowLogo;
    for (int i = 0; i < OptionCount; ++i)
        m_settings.*Setting(i) = cfg_opt[i]->isChecked();
    m_logoChanged = logo != m_settings.ShowLogo;
    SaveSettings(m_settings);
}
