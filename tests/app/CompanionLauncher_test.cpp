#include "app/CompanionLauncher.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

#include "AppFixture.h"
#include "app/DesktopEntry.h"
#include "app/SystemWorkspace.h"
#include "support/EventLoop.h"

namespace {

TEST(DesktopEntry, ExecLinesSplitWithoutAShell) {
    struct Row {
        QString exec;
        std::optional<QStringList> arguments;
    };
    const std::vector<Row> rows{
        {"player %f", QStringList{"player", "%f"}},
        {"  player   --open  %U ", QStringList{"player", "--open", "%U"}},
        {R"("/opt/my player/run" "a \"b\" \$c \\d \`e")",
         QStringList{"/opt/my player/run", R"(a "b" $c \d `e)"}},
        {R"(sh -c "rm -rf ~; echo $HOME")", QStringList{"sh", "-c", "rm -rf ~; echo $HOME"}},
        {R"(player "unterminated)", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {R"("" %f)", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exec.toStdString());
        EXPECT_EQ(DesktopEntry::splitExec(row.exec), row.arguments);
    }
}

TEST(DesktopEntry, FieldCodesHandTheFileOver) {
    const QString file = "/tmp/a b/quillmarExport.7.srt";
    const QString url = "file:///tmp/a%20b/quillmarExport.7.srt";
    struct Row {
        QString exec;
        QStringList arguments;  // after the program
    };
    const std::vector<Row> rows{
        {"sh %f", {file}},
        {"sh %F", {file}},
        {"sh %u", {url}},
        {"sh --sub=%f --x", {"--sub=" + file, "--x"}},
        {"sh", {file}},
        // No file code: the file is appended.
        {"sh %i %c %k 100%% %d %m",
         {"--icon", "film", "Harnwick Player", "/e/h.desktop", "100%", file}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exec.toStdString());
        DesktopEntry entry;
        entry.exec = row.exec;
        entry.icon = "film";
        entry.name = "Harnwick Player";
        const auto command = entry.commandForFile(file, "/e/h.desktop");
        ASSERT_TRUE(command);
        EXPECT_EQ(command->first(), QStandardPaths::findExecutable("sh"));
        EXPECT_EQ(command->mid(1), row.arguments);
    }
}

TEST(DesktopEntry, ReadsOnlyTheMainGroup) {
    const auto entry = DesktopEntry::parse(
        "# comment\n[Desktop Entry]\nType=Application\nName=Harnwick\nName[de]=X\n"
        "Exec=harnwick\\s--play %f\nPath=/opt\n[Desktop Action new]\nExec=other\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Harnwick");
    EXPECT_EQ(entry->exec, "harnwick --play %f");
    EXPECT_EQ(entry->path, "/opt");
    EXPECT_FALSE(DesktopEntry::parse("[Other]\nExec=x\n"));
}

class Launcher : public AppFixture {
  protected:
    // Writes its arguments, one a line, and its folder to <record>.
    QString fakeApplication(const QString& relative) {
        return writeScript(relative,
                           "pwd > \"$0.cwd\"\nfor a in \"$@\"; do printf '%s\\n' "
                           "\"$a\"; done > \"$0.args.tmp\" && mv \"$0.args.tmp\" "
                           "\"$0.args\"");
    }
    QStringList argumentsOf(const QString& program) {
        const QString record = program + ".args";
        if (!testsupport::spinUntil([&] { return QFileInfo::exists(record); })) return {};
        return QString::fromUtf8(readFile(record)).split('\n', Qt::SkipEmptyParts);
    }
    CompanionLauncher::SearchPaths searchPaths() {
        return {{path("bin1"), path("bin2")},
                {path("share1/applications"), path("share2/applications")}};
    }
    const QString file = "/tmp/quillmar Export «1».srt";
};

TEST_F(Launcher, AnExecutableGetsTheFileAsItsOneArgument) {
    const QString program = fakeApplication("apps/Harnwick Player");
    ASSERT_TRUE(CompanionLauncher::openFileWithApplicationAt(file, program));
    EXPECT_EQ(argumentsOf(program), QStringList{file});
}

TEST_F(Launcher, ADesktopFileStartsItsExecLine) {
    const QString program = fakeApplication("apps/lodestra");
    makeFolder("work");
    const QString entry =
        writeFile("apps/lodestra.desktop",
                  ("[Desktop Entry]\nType=Application\nName=Lodestra\nPath=" + path("work") +
                   "\nExec=\"" + program + "\" --subtitles %f --fullscreen\n")
                      .toUtf8());
    ASSERT_TRUE(CompanionLauncher::openFileWithApplicationAt(file, entry));
    EXPECT_EQ(argumentsOf(program), (QStringList{"--subtitles", file, "--fullscreen"}));
    EXPECT_EQ(readFile(program + ".cwd").trimmed(), path("work").toUtf8());
}

TEST_F(Launcher, UnusableLocationsStartNothing) {
    makeFolder("apps/folder");
    writeFile("apps/plain", "not executable");
    writeFile("apps/noexec.desktop", "[Desktop Entry]\nType=Application\nName=X\n");
    writeFile("apps/missing.desktop",
              "[Desktop Entry]\nType=Application\nExec=/nowhere/player %f\n");
    writeFile("apps/link.desktop", "[Desktop Entry]\nType=Link\nExec=sh %f\n");
    writeFile("apps/quote.desktop", "[Desktop Entry]\nExec=\"sh %f\n");
    for (const QString& location :
         {QString(), path("apps/none"), path("apps/folder"), path("apps/plain"),
          path("apps/noexec.desktop"), path("apps/missing.desktop"), path("apps/link.desktop"),
          path("apps/quote.desktop")}) {
        SCOPED_TRACE(location.toStdString());
        EXPECT_FALSE(CompanionLauncher::launchForLocation(file, location));
        EXPECT_FALSE(CompanionLauncher::openFileWithApplicationAt(file, location));
    }
}

TEST_F(Launcher, NamesAreLookedUpAlongPathThenInDesktopEntries) {
    const QString onPath = fakeApplication("bin2/pellimor");
    const QString exact = fakeApplication("bin2/Harnwick");
    const QString viaEntry = fakeApplication("apps/lodestra-player");
    writeFile(
        "share2/applications/vendor/lodestra-video.desktop",
        ("[Desktop Entry]\nType=Application\nName=LODESTRA\nExec=" + viaEntry + " %U\n").toUtf8());
    const QString byFileName = fakeApplication("apps/other");
    writeFile(
        "share1/applications/Other.desktop",
        ("[Desktop Entry]\nType=Application\nName=Something\nExec=" + byFileName + "\n").toUtf8());
    writeFile("share1/applications/ghost.desktop",
              "[Desktop Entry]\nType=Application\nName=Ghost\nHidden=true\nExec=sh\n");
    struct Row {
        QString name;
        std::optional<QStringList> command;
    };
    const std::vector<Row> rows{
        {"Pellimor", QStringList{onPath, file}},
        {"Harnwick", QStringList{exact, file}},
        {"Lodestra", QStringList{viaEntry, QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)}},
        {"other", QStringList{byFileName, file}},
        {"Ghost", std::nullopt},
        {"Nobody", std::nullopt},
        {"../bin2/pellimor", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const auto launch = CompanionLauncher::launchForName(file, row.name, searchPaths());
        EXPECT_EQ(launch ? std::optional(launch->command) : std::nullopt, row.command);
    }
    SystemWorkspace workspace(searchPaths());
    ASSERT_TRUE(workspace.openFileWithApplicationNamed(file, "Pellimor"));
    EXPECT_EQ(argumentsOf(onPath), QStringList{file});
}

}  // namespace
