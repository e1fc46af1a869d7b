#include "preferences/LanguageRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "PreferencesFixture.h"
#include "preferences/LanguageListController.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"

namespace {

class LanguageRemovalFlow : public PreferencesFixture {
  protected:
    // Opens the window, fills the popover with the Remove list and chooses.
    void openRemoveList(const QStringList& chosen) {
        controller->openPreferencesPanel();
        controller->window()->findChild<QPushButton*>("removeLanguageButton")->click();
        ASSERT_TRUE(controller->languageListPopover()->isShown());
        controller->languageListController()->setSelectedObjects(chosen);
    }
    void pressRemove() { controller->languagePopoverDownloadRemoveButton()->click(); }
};

TEST_F(LanguageRemovalFlow, TheListHoldsTheFolderEntriesByLanguage) {
    for (const char* file : {"deu.traineddata", "eng.traineddata", "eng.user-words", "pdf.ttf"})
        writeTessdata(file);
    openRemoveList({});
    EXPECT_EQ(controller->languagePopoverLabel(),
              "Select the language data to remove.  Quillmar will maintain a minimum of one "
              "language.");
    EXPECT_EQ(controller->languagePopoverDownloadRemoveButton()->text(), "Remove");
    EXPECT_EQ(controller->tesseractLanguagesList(), (QStringList{"deu", "eng", "pdf"}));
    EXPECT_EQ(controller->languageListController()->content(), (QStringList{"deu", "eng", "pdf"}));
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray()->value("eng"),
              (QStringList{"eng.traineddata", "eng.user-words"}));
}

TEST_F(LanguageRemovalFlow, AnEmptyFolderShowsAnEmptyList) {
    QDir(tessdata()).removeRecursively();
    QDir().mkpath(tessdata());
    openRemoveList({});
    EXPECT_TRUE(logged.contains("!!!! removeLanguageButton error: theResult is nil"));
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{});
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray(),
              SCPreferencesController::LanguageMap{});
}

TEST_F(LanguageRemovalFlow, KeepsOneLanguage) {
    const struct {
        const char* name;
        QStringList files;
        QStringList chosen;
        QStringList expectedLeft;  // besides "configs"
        QString expectedChoice;
    } cases[] = {
        {"all chosen: the last one stays",
         {"deu.traineddata", "eng.traineddata", "fra.traineddata"},
         {"deu", "eng", "fra"},
         {"fra.traineddata"},
         "fra"},
        {"the only language", {"eng.traineddata"}, {"eng"}, {"eng.traineddata"}, "eng"},
        {"one of two",
         {"deu.traineddata", "deu.user-words", "eng.traineddata"},
         {"deu"},
         {"eng.traineddata"},
         "eng"},
        {"nothing chosen",
         {"deu.traineddata", "eng.traineddata"},
         {},
         {"deu.traineddata", "eng.traineddata"},
         "eng"},
        {"a font is no language",
         {"eng.traineddata", "pdf.ttf"},
         {"eng"},
         {"eng.traineddata", "pdf.ttf"},
         "eng"},
        {"a font goes when chosen",
         {"eng.traineddata", "pdf.ttf"},
         {"eng", "pdf"},
         {"eng.traineddata"},
         "eng"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver(c.files);
        openRemoveList(c.chosen);

        pressRemove();

        EXPECT_EQ(tessdataEntries(), QStringList{"configs"} + c.expectedLeft);
        EXPECT_EQ(controller->userTesseractLanguage(), c.expectedChoice);
        EXPECT_EQ(panel().value("userTesseractLanguage"), c.expectedChoice);
        EXPECT_FALSE(controller->languageListPopover()->isShown());
        EXPECT_FALSE(controller->isDownloadingLang());
        QStringList installed;
        for (const QString& file : c.expectedLeft)
            if (file.endsWith(".traineddata")) installed.append(file.chopped(12));
        EXPECT_EQ(controller->usereTesseractLanguageList(), installed);
    }
}

TEST_F(LanguageRemovalFlow, ThePanelNeverKeepsARemovedLanguage) {
    writeTessdata("deu.traineddata");
    writeTessdata("eng.traineddata");
    setPanelEntry("userTesseractLanguage", "deu");
    openRemoveList({"deu"});
    controller->setUserTesseractLanguage("eng");  // chosen in the pop-up, not confirmed

    pressRemove();
    controller->cancelPreferencesButton();

    EXPECT_EQ(tessdataEntries(), (QStringList{"configs", "eng.traineddata"}));
    EXPECT_EQ(panel().value("userTesseractLanguage"), "eng");
}

TEST_F(LanguageRemovalFlow, OnlyPlainEntriesOfTheFolderAreRemoved) {
    writeTessdata("deu.traineddata");
    writeTessdata("deu.user-words");
    writeTessdata("eng.traineddata");
    writeTessdata("x\n..");
    writeFile(path("outside/keep.traineddata"), "mine");
    ASSERT_TRUE(QFile::link(path("outside"), tessdata() + "/x.d"));
    openRemoveList({"deu", "x"});
    EXPECT_EQ(controller->tesseractLanguagesList(), (QStringList{"deu", "eng", "x"}));
    QFile::remove(tessdata() + "/deu.traineddata");  // gone before the press

    pressRemove();

    EXPECT_EQ(tessdataEntries(), (QStringList{"configs", "eng.traineddata", "x\n.."}));
    EXPECT_TRUE(QFileInfo::exists(path("outside/keep.traineddata")));
    EXPECT_TRUE(QFileInfo(path("data/Borvane/tesseract304/tesseract")).exists());
}

TEST(LanguageRemoval, RemovesNothingOutsideTheFolder) {
    QTemporaryDir scratch;
    const QString folder = scratch.filePath("tessdata");
    QDir().mkpath(folder + "/sub");
    QFile(scratch.filePath("victim")).open(QIODevice::WriteOnly);
    for (const char* name : {"", ".", "..", "../victim", "sub/../../victim", "missing", ".hidden"})
        EXPECT_FALSE(LanguageRemoval::removeEntry(folder, name)) << name;
    EXPECT_TRUE(QFileInfo::exists(scratch.filePath("victim")));
    EXPECT_TRUE(QFileInfo::exists(folder + "/sub"));
    EXPECT_TRUE(LanguageRemoval::removeEntry(folder, "sub"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/sub"));
}

}  // namespace
