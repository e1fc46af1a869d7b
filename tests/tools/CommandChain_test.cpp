#include "tools/CommandChain.h"

#include <QFileInfo>

#include "ToolsFixture.h"
#include "tools/TemporaryNames.h"

namespace {

class CommandChain : public ToolsFixture {};

TEST_F(CommandChain, BuildsTheLine) {
    const struct {
        QString command;
        QList<CommandChainItem> items;
        QString expected;
    } cases[] = {
        {"ls", {}, "\"ls\""},
        {"ls", {QString()}, "\"ls\" "},
        {"ls",
         {QString("/tmp/x"), QString("| grep traineddata")},
         "\"ls\" /tmp/x | grep traineddata"},
        {"a\"b$c`d\\e", {}, "\"a\\\"b\\$c\\`d\\\\e\""},
    };
    for (const auto& c : cases) EXPECT_EQ(commandChainLine(c.command, c.items), c.expected);
}

TEST_F(CommandChain, AFileItemBecomesAQuotedLink) {
    const QString folder = makeFolder("Application Support/tess data");
    const QString line = commandChainLine("ls", {QUrl::fromLocalFile(folder)});
    ASSERT_TRUE(line.startsWith("\"ls\" \"" + uniqueNamesFolder() + ".")) << line.toStdString();
    const QString link = line.mid(6, line.size() - 7);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), folder);
}

TEST_F(CommandChain, FiltersAFolderListingThroughAPipe) {
    const QString folder = makeFolder("Application Support/tessdata");
    writeFile("Application Support/tessdata/eng.traineddata", "");
    writeFile("Application Support/tessdata/osd.traineddata", "");
    writeFile("Application Support/tessdata/notes.txt", "");

    const ToolRunResult listed =
        runUnixCommandChain("ls", {QUrl::fromLocalFile(folder), QString("| grep traineddata")});
    EXPECT_TRUE(listed.succeeded());
    EXPECT_EQ(listed.text(), QString("eng.traineddata\nosd.traineddata\n"));

    const ToolRunResult none =
        runUnixCommandChain("ls", {QUrl::fromLocalFile(folder), QString("| grep nothing")});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_EQ(none.text(), std::nullopt);
}

TEST_F(CommandChain, AFailedListingIsNotAListOfNames) {
    const ToolRunResult failed = runUnixCommandChain("ls", {QString("'" + path("gone") + "'")});
    EXPECT_FALSE(failed.succeeded());
    EXPECT_NE(failed.exitStatus, 0);
    ASSERT_TRUE(failed.text().has_value());
    EXPECT_TRUE(failed.text()->contains("gone"));
    EXPECT_EQ(doUnixCommandChain("ls", {QString("'" + path("gone") + "'")}), failed.text());
}

TEST_F(CommandChain, SpecialCharactersInTheCommandStayInPlace) {
    const QString program = writeScript("odd $name `x`/run \"it\"", "printf 'ran %s' \"$1\"");
    const ToolRunResult ran = runUnixCommandChain(program, {QString("one")});
    EXPECT_TRUE(ran.succeeded());
    EXPECT_EQ(ran.text(), QString("ran one"));
}

TEST_F(CommandChain, StatusAndStreamFollowTheRunnerRule) {
    const ToolRunResult missing = runUnixCommandChain("quillmar-no-such-command", {});
    EXPECT_EQ(missing.exitStatus, 127);
    EXPECT_TRUE(missing.text().has_value());
    EXPECT_FALSE(missing.text()->isEmpty());

    const ToolRunResult onlyError = runUnixCommandChain("sh", {QString("-c 'echo e >&2'")});
    EXPECT_EQ(onlyError.exitStatus, 0);
    EXPECT_EQ(onlyError.text(), QString(""));
}

}  // namespace
