#include "convert/widgets/encSetForm.h"

#include "convert/EncoderConfig.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>

using namespace convert;

namespace {

constexpr int QualityBasedText = 980;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A list entry from the language file when it has one.
QString entryText(const QString& key, const QString& designed) {
    const clsMUI* lang = mainMod::Lang();
    return lang && lang->HasText(key) ? lang->TextObj(key) : designed;
}

QString qualityBasedText() {
    const QString text = mainMod::LangText(QualityBasedText);
    return text.isEmpty() ? QStringLiteral("Quality-based VBR") : text;
}

} // namespace

encSetForm::encSetForm(AppSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("encSetForm"));
    setWindowTitle(QStringLiteral("Encoding Settings"));
    setModal(true);
    build();
    applyLanguage();
    showStored(m_format);
}

void encSetForm::build() {
    TabStrip1 = named(new QTabBar(this), "TabStrip1");
    TabStrip1->addTab(QStringLiteral("MP3"));
    TabStrip1->addTab(QStringLiteral("WMA"));
    TabStrip1->setExpanding(false);

    lblMode = named(new QLabel(QStringLiteral("Bit rate &mode:")), "lblMode");
    cmbMode = named(new QComboBox, "cmbMode");
    cmbMode->addItems({QStringLiteral("CBR"), QStringLiteral("VBR")});
    lblBitrate = named(new QLabel(QStringLiteral("&Bit rate (kbps):")), "lblBitrate");
    cmbBitrate = named(new QComboBox, "cmbBitrate");
    cmbBitrate->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblChannel = named(new QLabel(QStringLiteral("&Channel mode:")), "lblChannel");
    cmbChannel = named(new QComboBox, "cmbChannel");
    lblMode->setBuddy(cmbMode);
    lblBitrate->setBuddy(cmbBitrate);
    lblChannel->setBuddy(cmbChannel);

    vbrFrame = named(new QGroupBox(QStringLiteral("VBR Quality")), "vbrFrame");
    sVBRQuality = named(new QSlider(Qt::Horizontal), "sVBRQuality");
    sVBRQuality->setTickPosition(QSlider::TicksBelow);
    sVBRQuality->setTickInterval(1);
    sVBRQuality->setPageStep(1);
    lblSmaller = named(new QLabel(QStringLiteral("Smaller files")), "lblSmaller");
    lblBetter = named(new QLabel(QStringLiteral("Better quality")), "lblBetter");
    auto* frameLayout = new QGridLayout(vbrFrame);
    frameLayout->addWidget(sVBRQuality, 0, 0, 1, 2);
    frameLayout->addWidget(lblSmaller, 1, 0, Qt::AlignLeft);
    frameLayout->addWidget(lblBetter, 1, 1, Qt::AlignRight);

    auto* grid = new QGridLayout;
    grid->addWidget(lblMode, 0, 0);
    grid->addWidget(cmbMode, 0, 1);
    grid->addWidget(lblBitrate, 1, 0);
    grid->addWidget(cmbBitrate, 1, 1);
    grid->addWidget(lblChannel, 2, 0);
    grid->addWidget(cmbChannel, 2, 1);
    grid->addWidget(vbrFrame, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    okBUT = named(new QPushButton(QStringLiteral("OK")), "okBUT");
    okBUT->setDefault(true);
    cancelBUT = named(new QPushButton(QStringLiteral("Cancel")), "cancelBUT");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okBUT);
    buttons->addWidget(cancelBUT);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0) showStored(index);
    });
    connect(cmbMode, &QComboBox::currentIndexChanged, this, [this](int mode) {
        fillBitrates(mode, -1);
        updateVisibility();
    });
    connect(cmbBitrate, &QComboBox::currentIndexChanged, this, [this] { updateVisibility(); });
    connect(okBUT, &QPushButton::clicked, this, [this] {
        store();
        m_ok = true;
        accept();
    });
    connect(cancelBUT, &QPushButton::clicked, this, &QDialog::reject);
}

void encSetForm::applyLanguage() {
    FormLang::SetFormLang(this);
    static const char* const channels[] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    const int channel = qMax(cmbChannel->currentIndex(), 0);
    cmbChannel->clear();
    for (int k = 0; k < 4; ++k)
        cmbChannel->addItem(entryText(QStringLiteral("encSetForm.cmbChannel.List(%1)").arg(k),
                                      QLatin1String(channels[k])));
    cmbChannel->setCurrentIndex(channel);
    // The quality-based entry is the only bit-rate entry with a text of its own.
    if (cmbBitrate->count() > 0 && cmbBitrate->itemData(0).toInt() == 0)
        cmbBitrate->setItemText(0, qualityBasedText());
}

void encSetForm::SetFileType(int format) {
    const int tab = format == WmaFormat ? WmaFormat : Mp3Format;
    if (TabStrip1->currentIndex() == tab)
        showStored(tab);
    else
        TabStrip1->setCurrentIndex(tab); // shows the stored values
}

void encSetForm::showStored(int format) {
    m_format = format;
    const EncoderSettings& s = format == WmaFormat ? m_settings.Wma : m_settings.Mp3;
    const int mode = s.BitrateMode == 1 ? 1 : 0;
    cmbMode->blockSignals(true);
    cmbMode->setCurrentIndex(mode);
    cmbMode->blockSignals(false);
    fillBitrates(mode, s.Bitrate);
    if (format == Mp3Format) cmbChannel->setCurrentIndex(qBound(0, s.ChannelMode, 3));
    sVBRQuality->setRange(0, SliderMaximum(format));
    sVBRQuality->setValue(SliderPosition(format, s.VBRQuality));
    updateVisibility();
}

void encSetForm::fillBitrates(int mode, int bitrate) {
    cmbBitrate->blockSignals(true);
    cmbBitrate->clear();
    for (const int rate : BitrateChoices(m_format, mode))
        cmbBitrate->addItem(rate == 0 ? qualityBasedText() : QString::number(rate), rate);
    const int found = cmbBitrate->findData(bitrate);
    cmbBitrate->setCurrentIndex(found >= 0 ? found : 0);
    cmbBitrate->blockSignals(false);
}

void encSetForm::updateVisibility() {
    const int mode = cmbMode->currentIndex();
    const bool list = BitrateListShown(m_format, mode);
    lblBitrate->setVisible(list);
    cmbBitrate->setVisible(list);
    lblChannel->setVisible(m_format == Mp3Format);
    cmbChannel->setVisible(m_format == Mp3Format);
    vbrFrame->setVisible(SliderShown(m_format, mode, cmbBitrate->currentData().toInt()));
}

void encSetForm::store() {
    const EncoderSettings chosen =
        ChoiceFromDialog(m_format, cmbMode->currentIndex(), cmbBitrate->currentData().toInt(),
                         cmbChannel->currentIndex(), sVBRQuality->value());
    (m_format == WmaFormat ? m_settings.Wma : m_settings.Mp3) = chosen;
}
