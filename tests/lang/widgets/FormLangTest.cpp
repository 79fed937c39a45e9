#include "lang/widgets/FormLang.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "support/LangFixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

template <typename T, typename P> T* named(P* parent, const char* name, int index = -1) {
    auto* obj = new T(parent);
    obj->setObjectName(QString::fromLatin1(name));
    if (index >= 0) obj->setProperty("index", index);
    return obj;
}

// A window with one control of each kind the language texts reach.
struct TestForm {
    TestForm() {
        form.setObjectName("testForm");
        form.setWindowTitle("Design title");
        auto* layout = new QVBoxLayout(&form);
        label = named<QLabel>(&form, "lblInfo");
        label->setText("Design label");
        label->setToolTip("Design tip");
        for (int i = 0; i < 2; ++i) {
            opts[i] = named<QCheckBox>(&form, "cfg_opt", i);
            opts[i]->setText(QStringLiteral("Option %1").arg(i));
        }
        group = named<QGroupBox>(&form, "fraMain");
        group->setTitle("Design group");
        button = named<QPushButton>(group, "okBut");
        button->setText("&OK");
        edit = named<QLineEdit>(&form, "fltName");
        text = named<QTextEdit>(&form, "notes");
        auto* bar = new QMenuBar(&form);
        menu = named<QMenu>(bar, "mnuFile");
        menu->setTitle("&File");
        bar->addMenu(menu);
        action = named<QAction>(&form, "smExit");
        action->setText("E&xit");
        menu->addAction(action);
        tabs = named<QTabWidget>(&form, "tabOptions");
        tabs->addTab(new QWidget, "General");
        tabs->addTab(new QWidget, "Player");
        tabBar = named<QTabBar>(&form, "tsView");
        tabBar->addTab("Tracks");
        tabBar->addTab("Info");
        tree = named<QTreeWidget>(&form, "flist");
        tree->setHeaderLabels({"Path", "Last scan"});
        table = named<QTableWidget>(&form, "grid");
        table->setColumnCount(2);
        table->setHorizontalHeaderLabels({"A", "B"});
        model.setHorizontalHeaderLabels({"Filename", "Title"});
        view = named<QTreeView>(&form, "llist");
        view->setModel(&model);
        plainTree = named<QTreeView>(&form, "tv1");
        plainTree->setModel(&treeModel);
        plainTree->setHeaderHidden(true);
        // A dialog parented to the window is a form of its own.
        child = named<QDialog>(&form, "childForm");
        childLabel = named<QLabel>(child, "lblInfo");
        childLabel->setText("Child label");
        for (QWidget* w : std::initializer_list<QWidget*>{label, opts[0], opts[1], group, edit,
                                                          text, tabs, tabBar, tree, table, view})
            layout->addWidget(w);
    }

    QWidget form;
    QLabel* label;
    QCheckBox* opts[2];
    QGroupBox* group;
    QPushButton* button;
    QLineEdit* edit;
    QTextEdit* text;
    QMenu* menu;
    QAction* action;
    QTabWidget* tabs;
    QTabBar* tabBar;
    QTreeWidget* tree;
    QTableWidget* table;
    QStandardItemModel model;
    QTreeView* view;
    QStandardItemModel treeModel{0, 1};
    QTreeView* plainTree;
    QDialog* child;
    QLabel* childLabel;
};

class FormLangTest : public ::testing::Test {
protected:
    // Loads a language holding the given lines.
    void load(const QStringList& lines) {
        writeLangFile(m_dir.path(), "test.lng", 1036, "Français", lines);
        m_lang.SetLangFolder(m_dir.path());
        m_lang.SetLCID(1036);
        ASSERT_EQ(m_lang.LCID(), 1036);
    }
    QTemporaryDir m_dir;
    clsMUI m_lang;
};

} // namespace

TEST_F(FormLangTest, AppliesEveryKindOfText) {
    load({"testForm.Caption=Titre", "testForm.lblInfo.Caption=Ligne 1||Ligne 2",
          "TESTFORM.LBLINFO.TOOLTIPTEXT=Astuce", "testForm.cfg_opt(1).Caption=Option un",
          "testForm.fraMain.Caption=Groupe", "testForm.okBut.Caption=&Valider",
          "testForm.fltName.Text=Nom", "testForm.notes.Text=Notes||suite",
          "testForm.mnuFile.Caption=&Fichier", "testForm.smExit.Caption=&Quitter",
          "testForm.smExit.ToolTipText=Fermer le programme",
          "testForm.tabOptions.TabCaption[1]=Lecteur", "testForm.tsView.Tabs[1].Caption=Pistes",
          "testForm.flist.ColumnHeaders[2].Text=Dernier examen",
          "testForm.grid.ColumnHeaders[1].Text=Premier",
          "testForm.llist.ColumnHeaders[1].Text=Fichier",
          "testForm.llist.ColumnHeaders[3].Text=No such column",
          "childForm.lblInfo.Caption=Enfant"});
    TestForm f;
    FormLang::SetFormLang(m_lang, &f.form);

    EXPECT_EQ(f.form.windowTitle(), "Titre");
    EXPECT_EQ(f.label->text(), "Ligne 1\nLigne 2");
    EXPECT_EQ(f.label->toolTip(), "Astuce");
    EXPECT_EQ(f.opts[0]->text(), "Option 0"); // no key: design text stays
    EXPECT_EQ(f.opts[1]->text(), "Option un");
    EXPECT_EQ(f.group->title(), "Groupe");
    EXPECT_EQ(f.button->text(), "&Valider");
    EXPECT_EQ(f.edit->text(), "Nom");
    EXPECT_EQ(f.text->toPlainText(), "Notes\nsuite");
    EXPECT_EQ(f.menu->title(), "&Fichier");
    EXPECT_EQ(f.action->text(), "&Quitter");
    EXPECT_EQ(f.action->toolTip(), "Fermer le programme");
    EXPECT_EQ(f.tabs->tabText(0), "General");
    EXPECT_EQ(f.tabs->tabText(1), "Lecteur");
    EXPECT_EQ(f.tabBar->tabText(0), "Pistes");
    EXPECT_EQ(f.tree->headerItem()->text(0), "Path");
    EXPECT_EQ(f.tree->headerItem()->text(1), "Dernier examen");
    EXPECT_EQ(f.table->horizontalHeaderItem(0)->text(), "Premier");
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), "Fichier");
    EXPECT_EQ(f.model.columnCount(), 2);
    EXPECT_EQ(f.childLabel->text(), "Child label");

    // The child dialog takes its own keys.
    FormLang::SetFormLang(m_lang, f.child);
    EXPECT_EQ(f.childLabel->text(), "Enfant");
}

TEST_F(FormLangTest, KeysFollowTheControlTreeWithoutQtParts) {
    TestForm f;
    const QStringList keys = FormLang::FormLangKeys(&f.form);
    EXPECT_EQ(keys.size(), 29);
    EXPECT_EQ(keys.indexOf("testForm.tabOptions.TabCaption[1]") + 1,
              keys.indexOf("testForm.tsView.Tabs[1].Caption")); // no scroll buttons between
    EXPECT_TRUE(keys.contains("testForm.grid.ColumnHeaders[2].Text"));
    for (const char* absent : {"ScrollLeftButton", "tv1", "childForm", "qt_", "tabOptions.Tool"})
        EXPECT_FALSE(keys.join(' ').contains(QLatin1String(absent))) << absent;
}

TEST_F(FormLangTest, ProjectIdPrefixesEveryKey) {
    load({"testForm.Caption=Sans préfixe", "Qv.testForm.Caption=Avec préfixe",
          "Qv.testForm.okBut.Caption=Préfixé"});
    m_lang.SetProjectID("Qv");
    TestForm f;
    FormLang::SetFormLang(m_lang, &f.form);
    EXPECT_EQ(f.form.windowTitle(), "Avec préfixe");
    EXPECT_EQ(f.button->text(), "Préfixé");
    EXPECT_EQ(FormLang::FormLangKeys(&f.form, "Qv").first(), "Qv.testForm.Caption");
}

TEST_F(FormLangTest, NothingHappensWithoutTextsOrGlobalLanguage) {
    TestForm f;
    FormLang::SetFormLang(m_lang, &f.form);
    FormLang::SetFormLang(&f.form); // no application manager
    EXPECT_EQ(f.form.windowTitle(), "Design title");

    load({"testForm.Caption=Titre"});
    mainMod::SetLang(&m_lang);
    FormLang::SetFormLang(&f.form);
    mainMod::SetLang(nullptr);
    EXPECT_EQ(f.form.windowTitle(), "Titre");
}

TEST_F(FormLangTest, CaptureSaveAndApplyRoundTrip) {
    TestForm design;
    design.text->setPlainText("Two\nlines");
    design.action->setToolTip("Leave");
    clsMUI capture;
    FormLang::CaptureFormData(capture, &design.form);

    const LangTexts& t = capture.Texts();
    EXPECT_EQ(t.keys().first(), "testForm.Caption");
    EXPECT_EQ(t.value("testForm.cfg_opt(1).Caption"), "Option 1");
    EXPECT_EQ(t.value("testForm.notes.Text"), "Two\r\nlines");
    EXPECT_EQ(t.value("testForm.smExit.ToolTipText"), "Leave");
    EXPECT_EQ(t.value("testForm.tabOptions.TabCaption[0]"), "General");
    EXPECT_EQ(t.value("testForm.tsView.Tabs[2].Caption"), "Info");
    EXPECT_EQ(t.value("testForm.llist.ColumnHeaders[2].Text"), "Title");
    EXPECT_FALSE(t.contains("testForm.fltName.Text"));      // empty texts are left out
    EXPECT_FALSE(t.contains("testForm.okBut.ToolTipText")); // no tool tip of its own
    EXPECT_FALSE(t.contains("testForm.mnuFile.ToolTipText"));
    EXPECT_FALSE(t.contains("childForm.lblInfo.Caption")); // another form

    // A translator edits the template; applying it changes exactly those texts.
    capture.StoreText("testForm.fraMain.Caption", "Gruppe");
    capture.SetText(999, QString(1024, QLatin1Char('x'))); // containers need 1024 characters
    const QString plain = m_dir.filePath("template.txt");
    ASSERT_TRUE(capture.SaveLangFile(plain, 1031, "Deutsch"));
    ASSERT_TRUE(clsMUI::EncodeLangFile(plain, m_dir.filePath("de.lng")));
    m_lang.SetLangFolder(m_dir.path());
    m_lang.SetLCID(1031);
    ASSERT_EQ(m_lang.LCID(), 1031);
    TestForm fresh;
    FormLang::SetFormLang(m_lang, &fresh.form);
    EXPECT_EQ(fresh.group->title(), "Gruppe");
    EXPECT_EQ(fresh.text->toPlainText(), "Two\nlines");
    EXPECT_EQ(fresh.action->toolTip(), "Leave");
    EXPECT_EQ(fresh.opts[1]->text(), "Option 1");
}
