// A language switch while the window runs changes every text it shows at once:
// the designed texts, and the texts the program composes (tree captions and
// stand-ins, list headers, status panels, menus made at run time).
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/Settings.h"
#include "core/SystemInfo.h"
#include "core/widgets/aboutForm.h"
#include "core/widgets/sysInfoForm.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/MainMenus.h"
#include "library/widgets/mainForm.h"
#include "support/widgets/MainWindowFixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class LanguageSwitch : public StartedMainWindow {
protected:
    void SetUp() override { launch(); }

    static clsMUI load(int lcid) {
        clsMUI lang;
        lang.SetLangFolder(mainMod::LangFolder());
        lang.SetLCID(lcid);
        return lang;
    }
};

// Every text a person can read in the window, wherever it comes from.
QStringList shownTexts(mainForm& form) {
    QStringList texts;
    QList<QTreeWidgetItem*> pending;
    for (int i = 0; i < form.tv1->topLevelItemCount(); ++i)
        pending << form.tv1->topLevelItem(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem* item = pending.takeFirst();
        texts << item->text(0);
        for (int i = 0; i < item->childCount(); ++i)
            pending << item->child(i);
    }
    const QAbstractItemModel* model = form.llist->model();
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->headerData(c, Qt::Horizontal).toString();
    for (const QLabel* label : form.findChildren<QLabel*>())
        texts << label->text().trimmed();
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QAction* action : form.findChildren<QAction*>())
        texts << action->text();
    for (const QMenu* menu : form.findChildren<QMenu*>())
        texts << menu->title();
    texts << form.sText->placeholderText();
    texts.removeAll(QString());
    return texts;
}

} // namespace

TEST_F(LanguageSwitch, EveryShownTextFollowsTheNewLanguage) {
    ASSERT_EQ(form->lang()->LCID(), 1033);
    db::Database& db = form->mLib2()->Connection();
    ASSERT_TRUE(db.execute("insert into files(fullpath, filename, md_artist, md_album) values "
                           "('/m/a.mp3', 'a.mp3', 'Abba', 'Gold'), ('/m/b.mp3', 'b.mp3', '', '')"));
    emit form->treeRebuildRequested(0);
    const clsMUI english = load(1033);
    QTreeWidgetItem* blank = form->tv1->node("_art" + english.Text(141));
    ASSERT_NE(blank, nullptr);
    form->tv1->setCurrentItem(blank);
    form->sText->setText("Abba");
    form->sBut->click();

    QAction* deutsch = nullptr;
    for (QAction* entry : form->menus().smLang)
        if (entry->data().toString() == "1031") deutsch = entry;
    ASSERT_NE(deutsch, nullptr);
    deutsch->trigger();
    ASSERT_EQ(form->lang()->LCID(), 1031);
    EXPECT_TRUE(deutsch->isChecked());
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "1031");
    const clsMUI german = load(1031);

    // The designed texts, as the window walker finds them.
    clsMUI shown;
    FormLang::CaptureFormData(shown, form.get());
    QStringList wrong;
    for (qsizetype i = 0; i < shown.Texts().count(); ++i) {
        const QString key = shown.Texts().keys().at(i);
        if (german.HasText(key) && german.TextObj(key) != shown.Texts().valueAt(i))
            wrong << key + " = " + shown.Texts().valueAt(i);
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();

    // No text anywhere is still an English one that German words differently.
    QSet<QString> englishOnly;
    for (qsizetype i = 0; i < english.Texts().count(); ++i) {
        const QString key = english.Texts().keys().at(i);
        const QString value = english.Texts().valueAt(i);
        if (german.HasText(key) && german.TextObj(key) != value) englishOnly.insert(value);
    }
    QStringList left;
    for (const QString& text : shownTexts(*form))
        if (englishOnly.contains(text)) left << text;
    EXPECT_TRUE(left.isEmpty()) << left.join('\n').toStdString();

    // The composed texts came from the German file.
    EXPECT_NE(form->tv1->node("_art" + german.Text(141)), nullptr);
    EXPECT_EQ(form->sText->placeholderText(), german.Text(32));
    QStringList top;
    for (int i = 0; i < form->tv1->topLevelItemCount(); ++i)
        top << form->tv1->topLevelItem(i)->text(0);
    EXPECT_TRUE(top.contains(german.TextObj("mainForm.mnuViewLibrary.Caption").remove('&')))
        << top.join(", ").toStdString();
}

TEST_F(LanguageSwitch, QtsOwnTextsAndTheInfoWindowsFollow) {
    auto yes = [] {
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No);
        return box.button(QDialogButtonBox::Yes)->text();
    };
    auto contextMenu = [this] {
        std::unique_ptr<QMenu> menu(form->sText->createStandardContextMenu());
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << a->text();
        return texts.join('|');
    };
    EXPECT_EQ(yes(), "&Yes");
    const QString englishMenu = contextMenu();
    auto choose = [this](const char* lcid) {
        for (QAction* entry : form->menus().smLang)
            if (entry->data().toString() == lcid) entry->trigger();
    };

    choose("1031");
    EXPECT_EQ(yes(), "&Ja");
    EXPECT_NE(contextMenu(), englishMenu);
    const clsMUI german = load(1031);
    aboutForm about;
    const QLabel* version = about.findChild<QLabel*>("vrs");
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(version->text().startsWith(german.Text(120) + " "))
        << version->text().toStdString();
    sysInfoForm info(LibraryFacts{});
    const QTreeWidget* rows = info.findChild<QTreeWidget*>("infoList");
    QStringList names;
    for (int i = 0; i < rows->topLevelItemCount(); ++i)
        names << rows->topLevelItem(i)->text(0);
    for (int n : {903, 904, 905, 906, 907, 908})
        EXPECT_TRUE(names.contains(german.Text(n))) << n << ": " << names.join(", ").toStdString();

    choose("2070"); // Qt has Brazilian Portuguese only; it serves Portugal too
    EXPECT_EQ(yes(), "&Sim");
    choose("1033");
    EXPECT_EQ(yes(), "&Yes");
    EXPECT_EQ(contextMenu(), englishMenu);
}
