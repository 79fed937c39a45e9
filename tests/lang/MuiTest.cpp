#include "lang/Mui.h"
#include "core/Settings.h"
#include "lang/AppLang.h"
#include "lang/LangArgs.h"
#include "lang/LocaleIds.h"
#include "support/LangFixtures.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A language folder with a few languages written through the real encoder.
class MuiTest : public ::testing::Test {
protected:
    void add(const char* file, int lcid, const QString& name, const QStringList& lines = {}) {
        writeLangFile(m_dir.path(), QString::fromLatin1(file), lcid, name,
                      lines.isEmpty() ? QStringList{QStringLiteral("$001=%1").arg(name)} : lines);
    }
    // A manager over the folder whose user default is the given language.
    void open(int userDefault = 1033) {
        m_lang.SetUserDefaultLCIDSource([userDefault] { return userDefault; });
        m_lang.SetLangFolder(m_dir.path());
    }

    QTemporaryDir m_dir;
    clsMUI m_lang;
};

} // namespace

TEST_F(MuiTest, ListsByHeaderNameWhateverTheFileNames) {
    add("a.lng", 1031, "Deutsch");
    add("b.LNG", 2070, "Português");
    add("c.lng", 1033, "English");
    add("d.lng", 1036, "Français");
    QFile::copy(m_dir.filePath("c.lng"), m_dir.filePath("c.txt")); // not a language file
    open();
    ASSERT_EQ(m_lang.AvailableLangCount(), 4);
    const int expected[] = {1031, 1033, 1036, 2070};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m_lang.AvailableLCID(i), expected[i]) << i;
    EXPECT_EQ(m_lang.AvailableLangName(0), "Deutsch");
    EXPECT_EQ(m_lang.AvailableLangFile(3), m_dir.filePath("b.LNG"));
    EXPECT_EQ(m_lang.AvailableLangName(4), QString());
    EXPECT_EQ(m_lang.AvailableLCID(-1), 0);
    EXPECT_TRUE(m_lang.IsAvailable(2070));
    EXPECT_FALSE(m_lang.IsAvailable(33));
    EXPECT_FALSE(m_lang.IsAvailable(0));
    EXPECT_TRUE(m_lang.LangFolder().endsWith(QLatin1Char('/')));
}

struct Selection {
    const char* name;
    int requested;
    int userDefault;
    QList<int> available;
    int loaded;
};

class MuiSelection : public MuiTest, public ::testing::WithParamInterface<Selection> {};

TEST_P(MuiSelection, LoadsTargetOrFallback) {
    const Selection& s = GetParam();
    for (int lcid : s.available)
        add(qPrintable(QStringLiteral("l%1.lng").arg(lcid)), lcid, QStringLiteral("L%1").arg(lcid));
    open(s.userDefault);
    m_lang.SetLCID(s.requested);
    EXPECT_EQ(m_lang.LCID(), s.loaded);
    EXPECT_EQ(m_lang.Text(1), s.loaded ? QStringLiteral("L%1").arg(s.loaded) : QString());
    EXPECT_EQ(m_lang.IsLoaded(), s.loaded != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MuiSelection,
    ::testing::Values(Selection{"Exact", 2070, 1033, {1033, 2070, 1031}, 2070},
                      Selection{"ZeroMeansUserDefault", 0, 1031, {1033, 1031}, 1031},
                      Selection{"UserDefaultMissingGivesEnglish", 0, 1031, {1033}, 1033},
                      Selection{"BrazilFallsBackToPortugal", 1046, 1033, {1033, 2070}, 2070},
                      Selection{"BrazilNeverToEnglish", 1046, 1033, {1033}, 0},
                      Selection{"OthersFallBackToEnglish", 1040, 1033, {2070, 1033}, 1033},
                      Selection{"NoFallbackAvailable", 1040, 1033, {2070}, 0},
                      Selection{"EmptyFolder", 1033, 1033, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MuiTest, FailedSelectionKeepsPreviousTexts) {
    add("en.lng", 1033, "English");
    add("fr.lng", 1036, "Français");
    open();
    m_lang.SetLCID(1036);
    ASSERT_EQ(m_lang.LCID(), 1036);
    // Both files vanish after listing: nothing can be read.
    QFile::remove(m_dir.filePath("en.lng"));
    QFile::remove(m_dir.filePath("fr.lng"));
    m_lang.SetLCID(1033);
    EXPECT_EQ(m_lang.LCID(), 0);
    EXPECT_EQ(m_lang.Text(1), "Français");
}

TEST_F(MuiTest, ReadingReplacesTheWholeStore) {
    add("en.lng", 1033, "English", {"$001=One", "$002=Two"});
    add("de.lng", 1031, "Deutsch", {"$001=Eins"});
    open();
    m_lang.SetLCID(1033);
    m_lang.SetText(5, "mine");
    m_lang.SetLCID(1031);
    EXPECT_EQ(m_lang.Text(1), "Eins");
    EXPECT_EQ(m_lang.Text(2), QString());
    EXPECT_EQ(m_lang.Text(5), QString());
}

TEST_F(MuiTest, TextLookupAndArguments) {
    add("en.lng", 1033, "English",
        {"$019=New %0, updated %1, removed %2, total %3", "$020=Plain 100% text", "$19=short",
         "Form.Ctl(2).Caption=Hello %0", "$123=%1 before %0", "$010=%10|%1|%0"});
    open();
    m_lang.SetLCID(1033);
    EXPECT_EQ(m_lang.Text(19, {"5", "2", "0", "7"}), "New 5, updated 2, removed 0, total 7");
    EXPECT_EQ(m_lang.Text(20, {"x"}), "Plain 100% text");
    EXPECT_EQ(m_lang.Text(19), "New %0, updated %1, removed %2, total %3");
    EXPECT_EQ(m_lang.Text(123, {"a", "b"}), "b before a");
    EXPECT_EQ(m_lang.Text(999), QString());
    EXPECT_EQ(m_lang.TextObj("form.ctl(2).CAPTION", {"you"}), "Hello you");
    EXPECT_EQ(m_lang.TextObj("$19"), "short");
    // An argument that itself holds a placeholder is not filled again.
    EXPECT_EQ(m_lang.Text(123, {"%1", "b"}), "b before %1");
    // "%10" is argument 10 when there is one, else argument 1 and a "0".
    EXPECT_EQ(m_lang.Text(10, {"a", "b"}), "b0|b|a");
    QStringList eleven;
    for (int i = 0; i <= 10; ++i)
        eleven << QString::number(i * 11);
    EXPECT_EQ(m_lang.Text(10, eleven), "110|11|0");

    m_lang.SetText(19, "replaced %0");
    m_lang.SetText(1000, "four digits");
    EXPECT_EQ(m_lang.Text(19, {"x"}), "replaced x");
    EXPECT_EQ(m_lang.TextObj("$1000"), "four digits");
    EXPECT_EQ(clsMUI::NumberKey(7), "$007");
}

TEST(LangArgs, PlaceholdersAreCollectedOnce) {
    EXPECT_EQ(LangArgs::Placeholders("%1 and %0, again %1; 50% off; %12"), (QList<int>{0, 1, 12}));
    EXPECT_TRUE(LangArgs::Placeholders("100%").isEmpty());
}

struct LocaleCase {
    const char* locale;
    int lcid;
};

class LocaleLcid : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleLcid, MapsToWindowsLanguageId) {
    EXPECT_EQ(LocaleIds::LCIDFromLocale(QLocale(QString::fromLatin1(GetParam().locale))),
              GetParam().lcid);
}

INSTANTIATE_TEST_SUITE_P(Table, LocaleLcid,
                         ::testing::Values(LocaleCase{"en_US", 1033}, LocaleCase{"en_GB", 2057},
                                           LocaleCase{"en_IN", 1033}, LocaleCase{"pt_PT", 2070},
                                           LocaleCase{"pt_BR", 1046}, LocaleCase{"pt_AO", 2070},
                                           LocaleCase{"de_DE", 1031}, LocaleCase{"de_AT", 3079},
                                           LocaleCase{"fr_FR", 1036}, LocaleCase{"fr_CA", 3084},
                                           LocaleCase{"es_ES", 1034}, LocaleCase{"it_IT", 1040},
                                           LocaleCase{"nl_NL", 1043}, LocaleCase{"C", 1033},
                                           LocaleCase{"sw_KE", 1033}));

// Start-up's language choice, over a private settings store.
class StartupLanguage : public ConfigDirTest {
protected:
    StartupLanguage() {
        writeLangFile(m_langs.path(), "en.lng", 1033, "English", {"$001=Hello"});
        writeLangFile(m_langs.path(), "pt.lng", 2070, "Português", {"$001=Olá"});
        m_lang.SetUserDefaultLCIDSource([] { return 1031; });
        m_lang.SetLangFolder(m_langs.path());
    }
    QTemporaryDir m_langs;
    clsMUI m_lang;
};

TEST_F(StartupLanguage, StoredChoiceIsReadRepairedAndMoved) {
    mainMod::WriteSetting("Misc\\LCID", "abc");
    EXPECT_EQ(mainMod::SelectStartupLanguage(m_lang), 1033) << "not a number: the default";
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "1033") << "and the fallback is stored";

    mainMod::DeleteSetting("Misc\\LCID");
    mainMod::WriteSetting("LCID", "2070");
    EXPECT_EQ(mainMod::SelectStartupLanguage(m_lang), 2070);
    EXPECT_EQ(mainMod::ReadSetting("LCID"), QString()) << "the old root value moves to Misc";
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "2070");
    EXPECT_EQ(m_lang.Text(1), "Olá");
}

TEST_F(StartupLanguage, GlobalManagerAndMenuSwitch) {
    EXPECT_EQ(mainMod::LangText(1), QString());
    mainMod::SetLang(&m_lang);
    ASSERT_TRUE(mainMod::SwitchLanguage(m_lang, 2070));
    EXPECT_EQ(mainMod::LangText(1), "Olá");
    EXPECT_EQ(mainMod::LangTextRef("$1"), "Olá");
    EXPECT_EQ(mainMod::LangTextRef("$001 and more"), "Olá");
    EXPECT_EQ(mainMod::LangTextRef("$abc"), QString());
    EXPECT_EQ(mainMod::LangTextRef("Scanning $1"), "Scanning $1");
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "2070");

    // A language that vanished since listing keeps the current one.
    QFile::remove(m_langs.filePath("en.lng"));
    EXPECT_FALSE(mainMod::SwitchLanguage(m_lang, 1033));
    EXPECT_EQ(m_lang.LCID(), 2070);
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "2070");
    mainMod::SetLang(nullptr);
}
