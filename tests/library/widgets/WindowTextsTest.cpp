// Every text a window shows has a key in every shipped language, so that a
// switch reaches all of it.
#include "cd/RipRequest.h"
#include "cd/widgets/ripWizForm.h"
#include "cddb/widgets/cddbForm.h"
#include "components/MediaFolderStore.h"
#include "components/MediaLibrary.h"
#include "convert/widgets/encSetForm.h"
#include "convert/widgets/frmConvert.h"
#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "core/widgets/aboutForm.h"
#include "core/widgets/frmSplash.h"
#include "core/widgets/sysInfoForm.h"
#include "editing/widgets/fnameForm.h"
#include "editing/widgets/propForm.h"
#include "editing/widgets/propMForm.h"
#include "editing/widgets/selForm.h"
#include "filters/widgets/filterForm.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/configForm.h"
#include "library/widgets/listTreeConfig.h"
#include "library/widgets/mainForm.h"
#include "library/widgets/mmFoldersForm.h"
#include "library/widgets/optionForm.h"
#include "library/widgets/wizForm.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct WindowCase {
    const char* name;
    std::function<QWidget*()> make;
};

AppSettings& sharedSettings() {
    static AppSettings s = DefaultSettings();
    return s;
}

// The filter editor reads its genre list from a database; an empty one will do.
db::Database& scratchDb() {
    static db::Database db;
    return db;
}

// The media-folder windows list the folders of a closed library: none.
MediaFolderStore& noFolders() {
    static MediaFolderStore store(&scratchDb());
    return store;
}

// The properties window reads nothing before a file is loaded.
MediaLibrary& closedLibrary() {
    static MediaLibrary library;
    return library;
}

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowTexts : public ::testing::TestWithParam<WindowCase> {};

} // namespace

TEST_P(WindowTexts, EveryLanguageHasEveryKey) {
    std::unique_ptr<QWidget> window(GetParam().make());
    clsMUI designed;
    FormLang::CaptureFormData(designed, window.get());
    for (const int lcid : {1033, 1031, 2070}) {
        clsMUI lang;
        lang.SetLangFolder(mainMod::LangFolder());
        lang.SetLCID(lcid);
        ASSERT_EQ(lang.LCID(), lcid);
        QStringList missing;
        for (qsizetype i = 0; i < designed.Texts().count(); ++i) {
            const QString key = designed.Texts().keys().at(i);
            if (!lang.HasText(key)) missing << key + '=' + designed.Texts().valueAt(i);
        }
        EXPECT_TRUE(missing.isEmpty()) << lcid << ":\n" << missing.join('\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowTexts,
    ::testing::Values(
        WindowCase{"mainForm", [] { return new mainForm(sharedSettings()); }},
        WindowCase{"aboutForm", [] { return new aboutForm; }},
        WindowCase{"sysInfoForm", [] { return new sysInfoForm(LibraryFacts{}); }},
        WindowCase{"frmSplash", [] { return new frmSplash; }},
        WindowCase{"listTreeConfig", [] { return new listTreeConfig(0, {"a"}, sharedSettings()); }},
        WindowCase{"filterForm", [] { return new filterForm(scratchDb()); }},
        WindowCase{"optionForm", [] { return new optionForm; }},
        WindowCase{"mmFoldersForm", [] { return new mmFoldersForm(noFolders()); }},
        WindowCase{"wizForm", [] { return new wizForm(noFolders(), nullptr); }},
        WindowCase{"configForm", [] { return new configForm(sharedSettings()); }},
        WindowCase{"propForm", [] { return new propForm(closedLibrary()); }},
        WindowCase{"propMForm", [] { return new propMForm; }},
        WindowCase{"selForm", [] { return new selForm; }},
        WindowCase{"fnameForm", [] { return new fnameForm; }},
        WindowCase{"encSetForm", [] { return new encSetForm(sharedSettings()); }},
        WindowCase{"frmConvert", [] { return new frmConvert(sharedSettings(), nullptr); }},
        WindowCase{"ripWizForm", [] { return new ripWizForm(sharedSettings(), RipRequest{}); }},
        WindowCase{"cddbForm", [] { return new cddbForm; }}),
    [](const auto& info) { return std::string(info.param.name); });
