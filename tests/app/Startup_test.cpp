// Start-up, the Open panel, the menu and the start window.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>

#include "AppFixture.h"
#include "app/AppActions.h"
#include "app/DocumentWindow.h"
#include "app/FileDialogPanels.h"
#include "app/MakerAddresses.h"
#include "app/SCMainWindowController.h"
#include "app/StartWindow.h"
#include "document/SCSubtitle.h"
#include "platform/ValueTransformer.h"
#include "preferences/SCToolTips.h"
#include "support/EventLoop.h"
#include "support/FileListing.h"
#include "tools/ApplicationContext.h"

namespace {

using Startup = AppFixture;

TEST_F(Startup, InitThenAwakeLoadsPreferencesAndRegistersTransformers) {
    EXPECT_EQ(ApplicationContext::appPreferences(), delegate->appPreferences());
    EXPECT_FALSE(delegate->appPreferences()->preferencePanelDictionary());
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    EXPECT_FALSE(delegate->isShowingOpenPanel());
    EXPECT_TRUE(delegate->toolTips()->ttConvertButton().isEmpty());
    startDelegate();
    EXPECT_TRUE(delegate->appPreferences()->preferencePanelDictionary());
    for (const char* name :
         {"SCTextStyleBooleanTransformer", "SCNumberPadTransformer", "SCTrueToGrayTransformer"})
        EXPECT_TRUE(platform::ValueTransformer::valueTransformerForName(name)) << name;
    // Tool tips stay empty until switched.
    EXPECT_TRUE(delegate->toolTips()->ttConvertButton().isEmpty());
}

TEST_F(Startup, ARunRemovesItsTemporaryLinksAndTheDanglingOnesOfEarlierRuns) {
    const QDir temporary(path("tmp"));
    // At any depth: a run makes its own in its own folder.
    const auto links = [&] {
        QStringList names;
        for (const QString& entry : testsupport::filesBelow(temporary.path()))
            if (QFileInfo(temporary.filePath(entry)).isSymLink()) names.append(entry);
        return names;
    };
    // An earlier run's link whose target is gone, one that still leads
    // somewhere (another program may be using it), and a link of another kind.
    const QString target = writeFile("kept.txt", "x");
    ASSERT_TRUE(QFile::link(path("gone"), temporary.filePath(".0123456789AB.SL.")));
    ASSERT_TRUE(QFile::link(target, temporary.filePath(".ABCDEF012345.SL.txt")));
    ASSERT_TRUE(QFile::link(path("gone"), temporary.filePath("someone-else")));

    startDelegate();
    const QStringList afterStart = links();
    EXPECT_FALSE(afterStart.contains(".0123456789AB.SL."));
    EXPECT_TRUE(afterStart.contains(".ABCDEF012345.SL.txt"));
    EXPECT_TRUE(afterStart.contains("someone-else"));
    // The start lists the language data through a link of its own, in its
    // run's folder.
    ASSERT_EQ(afterStart.size(), 3) << afterStart.join(", ").toStdString();
    EXPECT_EQ(afterStart.filter(QRegularExpression("^run\\.[0-9]+\\.[A-Za-z0-9]{6}/\\.")).size(), 1)
        << afterStart.join(", ").toStdString();

    QSignalSpy ended(delegate.get(), &AppDelegate::terminateRequested);
    delegate->actions()->quitAction()->trigger();
    ASSERT_EQ(ended.size(), 1);
    delegate->applicationWillTerminate();  // as the program does once its loop has ended
    EXPECT_EQ(links(), (QStringList{".ABCDEF012345.SL.txt", "someone-else"}));
}

TEST_F(Startup, WithoutFilesThePanelComesAfterASecondAndCancelLeavesTheStartWindow) {
    startDelegate();
    int panelChanges = 0;
    QObject::connect(delegate.get(), &AppDelegate::isShowingOpenPanelChanged,
                     [&] { ++panelChanges; });
    QElapsedTimer clock;
    clock.start();
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(delegate->startWindow());
    EXPECT_TRUE(delegate->startWindow()->isVisible());
    ASSERT_TRUE(testsupport::spinUntil([&] { return !panels->openPanels.isEmpty(); }));
    EXPECT_GE(clock.elapsed(), 950);
    const auto& panel = panels->openPanels.first();
    EXPECT_EQ(panel.title, "Select Subtitle to Open:");
    EXPECT_EQ(panel.fileTypes, (QStringList{"ssa", "ass", "srt", "idx", "pgs", "sup"}));
    EXPECT_TRUE(delegate->isShowingOpenPanel());
    panels->answerOpenPanel(false);
    EXPECT_FALSE(delegate->isShowingOpenPanel());
    EXPECT_EQ(panelChanges, 2);
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    EXPECT_TRUE(delegate->startWindow()->isVisible());
}

TEST_F(Startup, AFileGivenAtLaunchOpensWithoutAPanel) {
    startDelegate();
    const QString file = writeFile("Film.srt", srtOfLines(2));
    const QString relative = QDir::current().relativeFilePath(file);
    auto* controller = open(relative);
    ASSERT_TRUE(controller);
    EXPECT_EQ(controller->fileURL(), QUrl::fromLocalFile(file));
    delegate->applicationDidFinishLaunching();
    AppFixture::drain(1300);
    EXPECT_TRUE(panels->openPanels.isEmpty());
    EXPECT_FALSE(delegate->startWindow() && delegate->startWindow()->isVisible());
}

TEST_F(Startup, OnePathTwiceGivesTwoWindowsAndAMissingFileIsStillOpened) {
    startDelegate();
    const QString file = writeFile("Film.srt", srtOfLines(1));
    auto* first = open(file);
    auto* second = open(file);
    EXPECT_NE(first, second);
    EXPECT_EQ(delegate->openWindowControllers(), (QList{first, second}));
    EXPECT_TRUE(delegate->applicationOpenFile(path("missing.srt")));
    EXPECT_EQ(delegate->openWindowControllers().size(), 3);
}

TEST(FileDialogPanels, TypesMatchInAnyCase) {
    EXPECT_EQ(FileDialogPanels::caseInsensitivePattern("srt"), "*.[sS][rR][tT]");
    EXPECT_EQ(FileDialogPanels::caseInsensitivePattern("m4v"), "*.[mM]4[vV]");
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(
        FileDialogPanels::caseInsensitivePattern("idx")));
    for (const char* name : {"a.idx", "B.IDX", "c.Idx"})
        EXPECT_TRUE(pattern.match(name).hasMatch());
    EXPECT_FALSE(pattern.match("a.sub").hasMatch());
}

TEST_F(Startup, ThePanelOpensItsChoiceInAnotherWindow) {
    startDelegate();
    open(writeFile("A.srt", srtOfLines(1)));
    delegate->actions()->openAction()->trigger();
    ASSERT_EQ(panels->openPanels.size(), 1);
    EXPECT_TRUE(delegate->isShowingOpenPanel());
    panels->answerOpenPanel(true, writeFile("B.ass", ""));
    EXPECT_FALSE(delegate->isShowingOpenPanel());
    ASSERT_EQ(delegate->openWindowControllers().size(), 2);
    EXPECT_EQ(delegate->openWindowControllers().last()->window()->windowTitle(), "B.ass");
}

TEST_F(Startup, MenuItemsDispatchOnTheirExactTitles) {
    startDelegate();
    AppActions& actions = *delegate->actions();
    for (QAction* action : actions.menuItemActions()) {
        EXPECT_FALSE(action->text().contains('&'));
        EXPECT_FALSE(action->text().contains("..."));
    }
    struct Row {
        QString title;
        QString url;  // empty: nothing opened
    };
    const QString root = MakerAddresses::siteRoot();
    const std::vector<Row> rows{
        {"Online Guide", root + "quillmar/quillmarguide.html"},
        {"Online Troubleshooting", root + "quillmar/quillmarhelp.html"},
        {"Send Bug Report", MakerAddresses::bugReportMailAddress()},
        {"Export…", {}},
        {"Open...", {}},
        {"Online guide", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title.toStdString());
        workspace->calls.clear();
        QAction item(row.title);
        delegate->fileMenuItems(&item);
        if (row.url.isEmpty()) {
            EXPECT_TRUE(workspace->calls.isEmpty());
        } else {
            ASSERT_EQ(workspace->calls.size(), 1);
            EXPECT_EQ(workspace->calls.first().target, row.url);
        }
    }
    EXPECT_TRUE(panels->openPanels.isEmpty());
    EXPECT_FALSE(delegate->isShowingOpenPanel());
}

TEST_F(Startup, ToolTipsSwitchOnAndOffEverywhere) {
    startDelegate();
    QAction* item = delegate->actions()->toolTipsAction();
    ASSERT_EQ(item->text(), "Show Tool Tips");
    const auto flag = [&] {
        return delegate->appPreferences()->preferencePanelDictionary()->value("showToolTipsFlag");
    };
    item->trigger();
    EXPECT_EQ(item->text(), "Hide Tool Tips");
    EXPECT_EQ(flag(), QVariant(true));
    EXPECT_FALSE(delegate->toolTips()->ttConvertButton().isEmpty());
    item->trigger();
    EXPECT_EQ(item->text(), "Show Tool Tips");
    EXPECT_EQ(flag(), QVariant(false));
    EXPECT_TRUE(delegate->toolTips()->ttConvertButton().isEmpty());
    // The preferences window's check box retitles the same item.
    delegate->appPreferences()->setToolTipsMenuItemTitle("Hide Tool Tips");
    EXPECT_EQ(item->text(), "Hide Tool Tips");
}

}  // namespace
