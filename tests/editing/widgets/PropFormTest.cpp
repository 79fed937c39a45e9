// The properties windows driven as a user would, and the main window's
// follow-up after an edit.
#include "editing/widgets/propForm.h"
#include "components/AudioFile.h"
#include "components/LibraryScanner.h"
#include "core/LibraryPaths.h"
#include "editing/widgets/propMForm.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/NodeKeys.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "support/LangFixtures.h"
#include "support/LibraryFixture.h"
#include "support/ModalWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/widgets/MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString mark(const QWidget* w) {
    return w->property(propForm::TagProperty).toString();
}

class PropFormTest : public LibraryTest {
protected:
    ScriptedDialogs dialogs;
    clsMUI english;
    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(UseShippedLanguage(english));
        addMusicFolder();
    }
    void TearDown() override { mainMod::SetLang(nullptr); }
    QString path(const QString& name) const { return music() + QLatin1Char('/') + name; }
    QString mp3(const QString& name, const QString& artist = "Artist") {
        fixtures::TagFields tags;
        tags.artist = artist;
        tags.album = "Album";
        tags.genre = "Jazz";
        EXPECT_TRUE(fixtures::WriteMp3(path(name), tags));
        return path(name);
    }
};

TEST_F(PropFormTest, EditingMarksTheControlAndOkAppliesAndHides) {
    mp3("a.mp3");
    scan();
    const QByteArray before = fixtures::ReadBytes(path("a.mp3"));
    propForm form(lib);
    ASSERT_TRUE(form.Load(path("a.mp3")));
    form.show();
    // Filling is no edit.
    EXPECT_FALSE(form.applyBUT->isEnabled());
    EXPECT_EQ(mark(form.idArtist), "");
    EXPECT_EQ(form.SSTab1->currentIndex(), propForm::GeneralTab);
    EXPECT_TRUE(form.SSTab1->isTabEnabled(propForm::TagTab));
    EXPECT_TRUE(form.SSTab1->isTabEnabled(propForm::LibraryTab));
    EXPECT_EQ(form.idGenre->text(), "Jazz");
    EXPECT_EQ(form.cmbGenre->currentText(), "Jazz");
    EXPECT_EQ(form.ffPCount->text(), "0");
    EXPECT_EQ(form.cmbRating->count(), 6);

    // OK without a change writes nothing.
    QTest::mouseClick(form.okBut, Qt::LeftButton);
    EXPECT_TRUE(form.isHidden());
    EXPECT_EQ(form.result(), 1);
    EXPECT_FALSE(form.applied());
    EXPECT_EQ(fixtures::ReadBytes(path("a.mp3")), before);

    propForm edit(lib);
    ASSERT_TRUE(edit.Load(path("a.mp3")));
    edit.show();
    edit.SSTab1->setCurrentIndex(propForm::TagTab);
    edit.idArtist->selectAll();
    QTest::keyClicks(edit.idArtist, "  New Artist ");
    EXPECT_EQ(mark(edit.idArtist), "X");
    EXPECT_EQ(mark(edit.idTitle), "");
    EXPECT_TRUE(edit.applyBUT->isEnabled());
    QTest::mouseClick(edit.okBut, Qt::LeftButton);
    EXPECT_TRUE(edit.isHidden());
    EXPECT_EQ(edit.result(), 1);
    EXPECT_TRUE(edit.applied());
    EXPECT_TRUE(edit.artistWritten());
    EXPECT_FALSE(edit.albumWritten());
    EXPECT_EQ(mark(edit.idArtist), "");
    EXPECT_EQ(ReadAudioFacts(path("a.mp3")).artist, "New Artist");
    EXPECT_TRUE(dialogs.asked.isEmpty());

    // The stored year is shown as it stands, however long.
    ASSERT_TRUE(lib.SetFileField(idOf("a.mp3"), FileField::Year, "1999-05-01"));
    propForm shown(lib);
    ASSERT_TRUE(shown.Load(path("a.mp3")));
    EXPECT_EQ(shown.idYear->text(), "1999-05-01");
}

TEST_F(PropFormTest, CancelEscapeAndTheCloseBoxOnlyHide) {
    mp3("a.mp3");
    scan();
    const std::pair<const char*, std::function<void(propForm&)>> closers[] = {
        {"cancel", [](propForm& f) { QTest::mouseClick(f.cancelBUT, Qt::LeftButton); }},
        {"close box", [](propForm& f) { f.close(); }},
        {"escape", [](propForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
    };
    for (const auto& [name, close] : closers) {
        SCOPED_TRACE(name);
        propForm form(lib);
        ASSERT_TRUE(form.Load(path("a.mp3")));
        form.show();
        EXPECT_FALSE(form.hiding());
        QTest::keyClicks(form.idTitle, "x");
        close(form);
        if (std::string(name) == "close box") {
            EXPECT_TRUE(form.hiding());
        }
        EXPECT_TRUE(form.isHidden());
        EXPECT_EQ(form.result(), 2);
        EXPECT_FALSE(form.applied());
    }
    EXPECT_EQ(ReadAudioFacts(path("a.mp3")).title, "");
}

TEST_F(PropFormTest, GenreListBackspaceAndRating) {
    mp3("a.mp3");
    scan();
    propForm form(lib);
    ASSERT_TRUE(form.Load(path("a.mp3")));
    form.show();
    form.SSTab1->setCurrentIndex(propForm::TagTab);
    const int rock = form.cmbGenre->findText("Rock");
    ASSERT_GT(rock, 0);
    form.cmbGenre->setCurrentIndex(rock);
    emit form.cmbGenre->activated(rock); // a click on the entry
    EXPECT_EQ(form.idGenre->text(), "Rock");
    EXPECT_EQ(mark(form.idGenre), "X");
    EXPECT_EQ(form.File().genreNumber, 17);

    // Backspace takes the whole genre away.
    form.idGenre->setFocus();
    QTest::keyClick(form.idGenre, Qt::Key_Backspace);
    EXPECT_EQ(form.cmbGenre->currentIndex(), 0);
    EXPECT_EQ(form.idGenre->text(), "");

    form.cmbRating->setCurrentIndex(4);
    emit form.cmbRating->activated(4);
    EXPECT_EQ(mark(form.cmbRating), "X");
    QTest::mouseClick(form.applyBUT, Qt::LeftButton);
    EXPECT_FALSE(form.applyBUT->isEnabled());
    EXPECT_EQ(mark(form.idGenre), "");
    EXPECT_EQ(mark(form.cmbRating), "");
    EXPECT_TRUE(form.isVisible()); // Apply keeps the window open
    const qint32 id = idOf("a.mp3");
    EXPECT_EQ(lib.GetFileField(id, FileField::Rating).toInt(), 4);
    EXPECT_EQ(lib.GetFileField(id, FileField::GenreText).toString(), "");
    EXPECT_EQ(ReadAudioFacts(path("a.mp3")).genre, "");
}

TEST_F(PropFormTest, WavTabsCoverPictureAndFailedWrites) {
    ASSERT_TRUE(fixtures::WriteWav(path("w.wav")));
    mp3("a.mp3");
    scan();
    propForm wav(lib);
    ASSERT_TRUE(wav.Load(path("w.wav")));
    EXPECT_FALSE(wav.SSTab1->isTabEnabled(propForm::TagTab));
    EXPECT_TRUE(wav.SSTab1->isTabEnabled(propForm::LibraryTab));
    EXPECT_FALSE(wav.icn->pixmap().isNull());
    EXPECT_FALSE(wav.imgCover->isVisibleTo(&wav));

    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path("folder.jpg"), "JPG"));
    propForm covered(lib);
    ASSERT_TRUE(covered.Load(path("a.mp3")));
    EXPECT_TRUE(covered.imgCover->isVisibleTo(&covered));
    // A picture file that is no picture leaves the cover hidden.
    ASSERT_TRUE(fixtures::WriteBytes(path("folder.jpg"), "not a picture"));
    propForm broken(lib);
    ASSERT_TRUE(broken.Load(path("a.mp3")));
    EXPECT_FALSE(broken.imgCover->isVisibleTo(&broken));

    // A year the tag cannot take: the user is told, the rest is written.
    broken.show();
    QTest::keyClicks(broken.idYear, "19x");
    QTest::keyClicks(broken.idTitle, "T");
    QTest::mouseClick(broken.applyBUT, Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_TRUE(dialogs.asked[0].text.contains("year")) << dialogs.asked[0].text.toStdString();
    EXPECT_EQ(ReadAudioFacts(path("a.mp3")).title, "T");
}

TEST_F(PropFormTest, GermanTextsFit) {
    mp3("a.mp3");
    scan();
    clsMUI german;
    ASSERT_TRUE(UseShippedLanguage(german, 1031));
    propForm form(lib);
    ASSERT_TRUE(form.Load(path("a.mp3")));
    form.show();
    EXPECT_EQ(form.windowTitle(), "Eigenschaften");
    EXPECT_EQ(form.SSTab1->tabText(propForm::LibraryTab), "Bibliothek");
    // The long date in German, and every caption as wide as its text.
    EXPECT_TRUE(form.ffAdded->text().contains(
        QLocale(QLocale::German).monthName(QDate::currentDate().month())))
        << form.ffAdded->text().toStdString();
    for (int tab = 0; tab < 3; ++tab) {
        form.SSTab1->setCurrentIndex(tab);
        QApplication::processEvents();
        for (QLabel* label : form.SSTab1->widget(tab)->findChildren<QLabel*>()) {
            if (!label->objectName().startsWith("lbl")) continue;
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    mainMod::SetLang(&english);
}

TEST_F(PropFormTest, SummaryOfSeveralFiles) {
    mp3("a.mp3");
    ASSERT_TRUE(QDir().mkpath(music() + "/" + QString(60, 'd')));
    const QString deep = music() + "/" + QString(60, 'd') + "/" + QString(60, 'n') + ".wav";
    ASSERT_TRUE(fixtures::WriteWav(deep));
    scan();
    propMForm form;
    form.setSummary(props::Summarize(
        lib, {{idOf("a.mp3"), path("a.mp3")}, {idOf(QString(60, 'n') + ".wav"), deep}}));
    form.show();
    EXPECT_EQ(form.info[2]->text(), "00:00:01");
    ASSERT_EQ(form.flist->count(), 2);
    EXPECT_EQ(form.flist->item(1)->text(), deep);
    EXPECT_GT(form.scrollExtent(), form.flist->viewport()->width());
    QTest::mouseClick(form.closeBut, Qt::LeftButton);
    EXPECT_TRUE(form.isHidden());
}

// The main window opens the editor for one item and follows what it wrote.
class PropsFollowUp : public StartedMainWindow {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(music()));
        for (const char* name : {"a.mp3", "b.mp3"}) {
            fixtures::TagFields tags;
            tags.artist = "Old";
            tags.album = "Record";
            ASSERT_TRUE(fixtures::WriteMp3(music() + "/" + name, tags));
        }
        ASSERT_NO_FATAL_FAILURE(start({"devmode"}));
        ASSERT_TRUE(form->mLib2()->MediaFolders()->Add(music()));
        LibraryScanner scanner(form->mLib2()->Connection());
        ASSERT_TRUE(scanner.run(QString(), {}).ok());
        form->browser()->MakeTree();
    }
    void selectNode(const QString& key) {
        QTreeWidgetItem* item = form->tv1->node(key);
        ASSERT_NE(item, nullptr) << NodeKeys::printable(key).toStdString();
        form->tv1->setCurrentItem(item);
        form->browser()->NodeSelected(item);
    }
    void selectRow(int row) {
        form->llist->clearSelection();
        form->llist->selectionModel()->select(form->llist->model()->index(row, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }
    QString currentKey() const { return form->tv1->keyOf(form->tv1->currentItem()); }
};

TEST_F(PropsFollowUp, NewArtistNodeIsSelectedAfterTheEdit) {
    selectNode(NodeKeys::artistKey("Old"));
    ASSERT_EQ(form->llist->model()->rowCount(), 2);
    selectRow(0);
    whenShown<propForm>([](propForm& p) {
        p.idArtist->setText("New");
        QTest::mouseClick(p.okBut, Qt::LeftButton);
    });
    QApplication::setActiveWindow(form.get());
    form->llist->setFocus();
    QTest::keyClick(form->llist, Qt::Key_Return, Qt::AltModifier); // the key of the editor
    EXPECT_EQ(currentKey(), NodeKeys::artistKey("New"));
    EXPECT_EQ(form->llist->model()->rowCount(), 1);
    EXPECT_NE(form->tv1->node(NodeKeys::artistKey("Old")), nullptr);

    // On an album node the album's new key is selected.
    selectNode(NodeKeys::albumKey("Old", "Record"));
    selectRow(0);
    whenShown<propForm>([](propForm& p) {
        p.idAlbum->setText("Other");
        QTest::mouseClick(p.okBut, Qt::LeftButton);
    });
    form->ShowProperties();
    EXPECT_EQ(currentKey(), NodeKeys::albumKey("Old", "Other"));
    EXPECT_EQ(form->tv1->node(NodeKeys::albumKey("Old", "Record")), nullptr);
}

TEST_F(PropsFollowUp, RatingAloneRefillsTheListWithoutRebuildingTheTree) {
    selectNode(NodeKeys::artistKey("Old"));
    selectRow(0);
    // A change the tree does not know of yet: a rebuild would show it.
    const qint32 id = static_cast<qint32>(form->browser()->model().id(0));
    const qint32 other = static_cast<qint32>(form->browser()->model().id(1));
    ASSERT_TRUE(form->mLib2()->SetFileField(other, FileField::Artist, "Sneaky"));
    whenShown<propForm>([](propForm& p) {
        p.cmbRating->setCurrentIndex(3);
        emit p.cmbRating->activated(3);
        QTest::mouseClick(p.okBut, Qt::LeftButton);
    });
    form->ShowProperties();
    EXPECT_EQ(form->tv1->node(NodeKeys::artistKey("Sneaky")), nullptr);
    EXPECT_EQ(form->mLib2()->GetFileField(id, FileField::Rating).toInt(), 3);
    // The list was filled again from its query: the renamed file left it.
    EXPECT_EQ(form->llist->model()->rowCount(), 1);

    // Cancel: nothing follows.
    ASSERT_TRUE(form->mLib2()->SetFileField(id, FileField::Artist, "Sneaky"));
    selectRow(0);
    whenShown<propForm>([](propForm& p) { QTest::mouseClick(p.cancelBUT, Qt::LeftButton); });
    form->ShowProperties();
    EXPECT_EQ(form->llist->model()->rowCount(), 1);
}

TEST_F(PropsFollowUp, SeveralItemsOpenTheSummary) {
    selectNode(NodeKeys::artistKey("Old"));
    form->llist->selectAllRows();
    QString first;
    whenShown<propMForm>([&first](propMForm& m) {
        first = m.info[0]->text();
        QTest::mouseClick(m.closeBut, Qt::LeftButton);
    });
    form->ShowProperties();
    EXPECT_EQ(first, "2");
}

} // namespace
