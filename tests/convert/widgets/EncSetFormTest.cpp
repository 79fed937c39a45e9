// The encoding settings dialog, driven with mouse and keys.
#include "convert/widgets/encSetForm.h"
#include "convert/EncoderConfig.h"
#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class EncSetFormTest : public ::testing::Test {
protected:
    EncSetFormTest() { settings = DefaultSettings(); }
    ~EncSetFormTest() override { mainMod::SetLang(nullptr); }

    // Opens the dialog as the callers do, on a format's tab.
    void open(encSetForm& form, int format) {
        form.SetFileType(format);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    static void clickTab(encSetForm& form, int index) {
        QTest::mouseClick(form.TabStrip1, Qt::LeftButton, {},
                          form.TabStrip1->tabRect(index).center());
    }
    // Chooses a list entry with the keyboard, as a user would.
    static void choose(QComboBox* list, int index) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(list->currentIndex(), index);
    }
    static QStringList entries(const QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }
    static clsMUI load(int lcid) {
        clsMUI lang;
        lang.SetLangFolder(mainMod::LangFolder());
        lang.SetLCID(lcid);
        return lang;
    }

    // With QUAVERO_SHOT_DIR set, a picture of the dialog for a look at it.
    static void shoot(QWidget& form, const QString& name) {
        if (const QByteArray dir = qgetenv("QUAVERO_SHOT_DIR"); !dir.isEmpty())
            form.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/encSetForm-") + name +
                             QStringLiteral(".png"));
    }

    AppSettings settings;
};

TEST_F(EncSetFormTest, OpensOnTheCallersFormatWithItsStoredValues) {
    settings.Mp3 = EncoderSettings{192, 0, 2, 2};
    settings.Wma = EncoderSettings{0, 1, 0, 3};
    encSetForm form(settings);
    open(form, 1);
    EXPECT_EQ(form.FileType(), 1);
    EXPECT_EQ(form.TabStrip1->currentIndex(), 1);
    EXPECT_EQ(form.cmbMode->currentIndex(), 1);
    EXPECT_EQ(form.cmbBitrate->currentData().toInt(), 0);
    EXPECT_TRUE(form.vbrFrame->isVisible()); // the quality-based entry
    EXPECT_FALSE(form.cmbChannel->isVisible());
    EXPECT_FALSE(form.lblChannel->isVisible());
    EXPECT_EQ(form.sVBRQuality->maximum(), 4);
    EXPECT_EQ(form.sVBRQuality->value(), 3);

    clickTab(form, 0);
    EXPECT_EQ(form.FileType(), 0);
    EXPECT_EQ(form.cmbMode->currentIndex(), 0);
    EXPECT_EQ(form.cmbBitrate->currentText(), "192");
    EXPECT_TRUE(form.cmbChannel->isVisible());
    EXPECT_EQ(form.cmbChannel->currentIndex(), 2);
    EXPECT_FALSE(form.vbrFrame->isVisible());
    EXPECT_EQ(form.sVBRQuality->maximum(), 9);
}

TEST_F(EncSetFormTest, ModeRefillsTheBitRateListAndShowsTheSlider) {
    encSetForm form(settings);
    open(form, 0);
    choose(form.cmbMode, 1); // MP3 VBR
    EXPECT_FALSE(form.cmbBitrate->isVisible());
    EXPECT_FALSE(form.lblBitrate->isVisible());
    EXPECT_TRUE(form.vbrFrame->isVisible());
    choose(form.cmbMode, 0);
    EXPECT_EQ(entries(form.cmbBitrate),
              QStringList({"320", "256", "192", "160", "128", "96", "64", "48"}));
    EXPECT_EQ(form.cmbBitrate->currentIndex(), 0);
    EXPECT_FALSE(form.vbrFrame->isVisible());

    clickTab(form, 1);
    choose(form.cmbMode, 1); // WMA VBR
    QStringList wma = entries(form.cmbBitrate);
    ASSERT_EQ(wma.size(), 7);
    EXPECT_EQ(wma.mid(1), QStringList({"192", "160", "128", "96", "64", "48"}));
    EXPECT_EQ(form.cmbBitrate->currentIndex(), 0);
    EXPECT_TRUE(form.vbrFrame->isVisible());
    choose(form.cmbBitrate, 2); // 160: no slider
    EXPECT_FALSE(form.vbrFrame->isVisible());
    choose(form.cmbBitrate, 0);
    EXPECT_TRUE(form.vbrFrame->isVisible());
}

TEST_F(EncSetFormTest, OkStoresTheSelectedTabOnly) {
    settings.Wma = EncoderSettings{128, 0, 0, 3};
    encSetForm form(settings);
    open(form, 0);
    choose(form.cmbMode, 1);
    choose(form.cmbChannel, 3);
    form.sVBRQuality->setFocus();
    QTest::keyClick(form.sVBRQuality, Qt::Key_End); // position 9: the best quality
    QTest::mouseClick(form.okBUT, Qt::LeftButton);
    EXPECT_TRUE(form.OkPressed());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(settings.Mp3.BitrateMode, 1);
    EXPECT_EQ(settings.Mp3.VBRQuality, 0);
    EXPECT_EQ(settings.Mp3.ChannelMode, 3);
    EXPECT_EQ(settings.Wma.Bitrate, 128); // the other tab is untouched
    EXPECT_EQ(settings.Wma.ChannelMode, 0);

    encSetForm wma(settings);
    open(wma, 1);
    choose(wma.cmbMode, 1);
    wma.sVBRQuality->setFocus();
    QTest::keyClick(wma.sVBRQuality, Qt::Key_End);
    QTest::mouseClick(wma.okBUT, Qt::LeftButton);
    EXPECT_EQ(settings.Wma.BitrateMode, 1);
    EXPECT_EQ(settings.Wma.Bitrate, 0);
    EXPECT_EQ(settings.Wma.VBRQuality, 4);
    EXPECT_EQ(settings.Wma.ChannelMode, 1);
    EXPECT_EQ(convert::WmaPreset(settings.Wma), 19);
}

TEST_F(EncSetFormTest, CancelAndTabSwitchesStoreNothing) {
    const AppSettings before = settings;
    encSetForm form(settings);
    open(form, 0);
    choose(form.cmbMode, 1);
    clickTab(form, 1); // the MP3 edits are dropped
    clickTab(form, 0);
    EXPECT_EQ(form.cmbMode->currentIndex(), 0);
    choose(form.cmbBitrate, 7);
    QTest::mouseClick(form.cancelBUT, Qt::LeftButton);
    EXPECT_FALSE(form.OkPressed());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(settings.Mp3.Bitrate, before.Mp3.Bitrate);
    EXPECT_EQ(settings.Mp3.BitrateMode, before.Mp3.BitrateMode);
    EXPECT_EQ(settings.Wma.Bitrate, before.Wma.Bitrate);
}

TEST_F(EncSetFormTest, NothingIsClippedInAnyLanguage) {
    for (const int lcid : {1033, 1031, 2070}) {
        clsMUI lang = load(lcid);
        ASSERT_EQ(lang.LCID(), lcid);
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(lang.HasText(QStringLiteral("encSetForm.cmbChannel.List(%1)").arg(k)));
        EXPECT_FALSE(lang.Text(980).isEmpty());

        mainMod::SetLang(&lang);
        settings.Wma = EncoderSettings{0, 1, 0, 2};
        encSetForm form(settings);
        open(form, 1);
        EXPECT_EQ(form.windowTitle(), lang.TextObj("encSetForm.Caption"));
        EXPECT_EQ(form.cmbBitrate->itemText(0), lang.Text(980));
        EXPECT_GE(form.cmbBitrate->width(), form.cmbBitrate->sizeHint().width());
        shoot(form, QStringLiteral("wma-%1").arg(lcid));
        clickTab(form, 0);
        choose(form.cmbMode, 1);
        EXPECT_EQ(form.cmbChannel->itemText(2), lang.TextObj("encSetForm.cmbChannel.List(2)"));
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                continue;
            EXPECT_GE(w->width(), w->sizeHint().width())
                << lcid << " " << w->objectName().toStdString();
        }
        EXPECT_GE(form.vbrFrame->width(), form.vbrFrame->sizeHint().width());
        shoot(form, QStringLiteral("mp3-%1").arg(lcid));
        mainMod::SetLang(nullptr);
    }
}

} // namespace
