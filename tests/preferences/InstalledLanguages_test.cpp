#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "PreferencesFixture.h"
#include "platform/AppPaths.h"
#include "platform/TemporaryFolder.h"

namespace {

const QString kError1 =
    "!!!! Error 1 reading tesseract traineddata files in updateTesseractLanguageList";
const QString kError2 =
    "!!!! Error 2 reading tesseract traineddata files in updateTesseractLanguageList";
const QString kNoArchive = "!!!! OCR support archive could not be found";

class InstalledLanguages : public PreferencesFixture {};

TEST_F(InstalledLanguages, ListsTheLanguageDataFilesWithRealLs) {
    const struct {
        const char* name;
        QStringList files;
        QString chosen;  // the window's language and the panel's before the refresh
        QStringList expectedList;
        QString expectedChoice;
        QStringList expectedLog;
    } cases[] = {
        {"sorted by name",
         {"eng.traineddata", "deu.traineddata"},
         "eng",
         {"deu", "eng"},
         "eng",
         {}},
        {"other entries left out",
         {"eng.traineddata", "notes.txt", "pdf.ttf"},
         "eng",
         {"eng"},
         "eng",
         {}},
        {"the name in the middle",
         {"eng.traineddata", "eng.traineddata.old"},
         "eng",
         {"eng", "eng.old"},
         "eng",
         {}},
        {"an uninstalled choice", {"eng.traineddata"}, "fra", {"eng"}, "eng", {}},
        // The set-up would bring the bundled data back, but there is no
        // archive here.
        {"nothing installed", {"notes.txt"}, "fra", {}, "fra", {kNoArchive, kError2}},
        {"only the suffix", {" .traineddata"}, "fra", {}, "fra", {kError1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver(c.files);
        controller->setUserTesseractLanguage(c.chosen);
        setPanelEntry("userTesseractLanguage", c.chosen);
        logged.clear();

        controller->updateTesseractLanguageList();

        EXPECT_EQ(controller->usereTesseractLanguageList(), c.expectedList);
        EXPECT_EQ(controller->userTesseractLanguage(), c.expectedChoice);
        EXPECT_EQ(panel().value("userTesseractLanguage"), c.expectedChoice);
        EXPECT_EQ(logged, c.expectedLog);
    }
}

TEST_F(InstalledLanguages, AFailedListingChangesNothing) {
    writeTessdata("eng.traineddata");
    controller->updateTesseractLanguageList();
    ASSERT_EQ(controller->usereTesseractLanguageList(), QStringList{"eng"});

    // The folder turns into a dangling link: "ls" fails and complains on
    // its error output, which is no list of languages.
    QDir(tessdata()).removeRecursively();
    ASSERT_TRUE(QFile::link(path("gone"), tessdata()));
    logged.clear();
    controller->updateTesseractLanguageList();
    EXPECT_EQ(controller->usereTesseractLanguageList(), QStringList{"eng"});
    EXPECT_EQ(controller->userTesseractLanguage(), "eng");
    EXPECT_EQ(logged, QStringList{kError2});
}

TEST_F(InstalledLanguages, ATemporaryFolderWithShellCharacters) {
    const QString odd = path("tmp dir $HOME `true` $(touch pwned)");
    ASSERT_TRUE(QDir().mkpath(odd));
    temporaryFolder->set(odd);
    writeTessdata("eng.traineddata");
    writeTessdata("osd.traineddata");

    controller->updateTesseractLanguageList();

    EXPECT_EQ(controller->usereTesseractLanguageList(), (QStringList{"eng", "osd"}));
    EXPECT_TRUE(logged.isEmpty()) << logged.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(platform::AppPaths::childWorkingDirectory() + "pwned"));
    // The link of the listing lies in that folder.
    EXPECT_FALSE(
        QDir(odd)
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)
            .isEmpty());
}

TEST_F(InstalledLanguages, StartUpTakesTheStoredChoiceBeforeTheRefresh) {
    writeTessdata("deu.traineddata");
    QStringList events;
    QObject::connect(controller.get(), &SCPreferencesController::userTesseractLanguageChanged,
                     [&](const QString& language) { events.append("choice " + language); });
    QObject::connect(controller.get(), &SCPreferencesController::usereTesseractLanguageListChanged,
                     [&](const QStringList& list) { events.append("list " + list.join(',')); });
    EXPECT_EQ(controller->userTesseractLanguage(), "");
    EXPECT_TRUE(controller->usereTesseractLanguageList().isEmpty());

    controller->intializeAfterPreferencesLoaded();

    EXPECT_EQ(events, (QStringList{"choice eng", "list deu", "choice deu"}));
    EXPECT_EQ(panel().value("userTesseractLanguage"), "deu");
    // Only the panel in memory: the stored preferences keep theirs.
    EXPECT_FALSE(preferences->preferenceDefaults()->value("preferencePanelDictionary").isValid());
}

TEST_F(InstalledLanguages, AnInstalledChoiceLeavesThePanelAlone) {
    writeTessdata("deu.traineddata");
    writeTessdata("eng.traineddata");
    controller->setUserTesseractLanguage("deu");
    setPanelEntry("userTesseractLanguage", "eng");
    controller->updateTesseractLanguageList();
    controller->updateTesseractLanguageList();
    EXPECT_EQ(controller->userTesseractLanguage(), "deu");
    EXPECT_EQ(panel().value("userTesseractLanguage"), "eng");
}

}  // namespace
