#include "core/widgets/aboutForm.h"

#include "core/AppInfo.h"
#include "core/widgets/Artwork.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

aboutForm::aboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutForm"));
    setWindowTitle(QStringLiteral("About ") + mainMod::AppName());
    setModal(true);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("ilogo"));
    logo->setPixmap(Artwork::Picture(QStringLiteral("logo_small"), QSize(240, 80)));
    logo->setAlignment(Qt::AlignCenter);

    auto* name = new QLabel(QStringLiteral("<h2>%1</h2>").arg(mainMod::AppName()), this);
    name->setObjectName(QStringLiteral("lblName"));
    name->setAlignment(Qt::AlignCenter);
    name->setProperty(FormLang::NoLangTextProperty, true);
    const QString word = mainMod::LangText(120);
    QString version = (word.isEmpty() ? QStringLiteral("Version") : word) + QLatin1Char(' ') +
                      mainMod::AppVersion();
    if (mainMod::IsBeta()) version += QStringLiteral(" (Beta)");
    auto* vrs = new QLabel(version, this);
    vrs->setObjectName(QStringLiteral("vrs"));
    vrs->setAlignment(Qt::AlignCenter);
    vrs->setProperty(FormLang::NoLangTextProperty, true);
    auto* blurb = new QLabel(
        QStringLiteral("A music-library manager for MP3, WMA and WAV collections."), this);
    blurb->setObjectName(QStringLiteral("lblInfo"));
    blurb->setAlignment(Qt::AlignCenter);
    blurb->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(vrs);
    layout->addWidget(blurb);
    layout->addWidget(buttons);
    setFixedWidth(360);
}
