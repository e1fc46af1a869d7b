#include "tools/CommandRunner.h"

#include <QDir>

#include "ToolsFixture.h"
#include "platform/AppPaths.h"

namespace {

struct ResultCase {
    const char* name;
    QByteArray script;
    std::optional<QString> expected;
};

void PrintTo(const ResultCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandRunnerResult : public ToolsFixture,
                            public ::testing::WithParamInterface<ResultCase> {};

TEST_P(CommandRunnerResult, ChoosesTheStreamByExitStatus) {
    const ResultCase& c = GetParam();
    const QString program = writeScript("tool", c.script);
    EXPECT_EQ(runAppWithPath(program, {}), c.expected);
}

const QString kLarge(300000, u'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandRunnerResult,
    ::testing::Values(
        ResultCase{"OutputOnSuccess", "printf 'out\\n'; printf 'err' >&2", QString("out\n")},
        ResultCase{"ErrorOnFailure", "printf out; printf 'bad\\nthing\\n' >&2; exit 2",
                   QString("bad\nthing\n")},
        ResultCase{"OnlyErrorOnSuccessIsEmptyText", "printf err >&2", QString("")},
        ResultCase{"OnlyOutputOnFailureIsEmptyText", "printf out; exit 3", QString("")},
        ResultCase{"NothingOnSuccess", "exit 0", std::nullopt},
        ResultCase{"NothingOnFailure", "exit 4", std::nullopt},
        ResultCase{"NotText", "printf '\\377\\376'", std::nullopt},
        ResultCase{"KeptUntrimmed", "printf '  text  \\n\\n'", QString("  text  \n\n")},
        ResultCase{"KilledCountsAsFailure", "printf out; printf gone >&2; kill -9 $$",
                   QString("gone")},
        // Both pipes fill up: neither may stall the other.
        ResultCase{"BothStreamsLarge",
                   "head -c 300000 /dev/zero | tr '\\0' a >&2; "
                   "head -c 300000 /dev/zero | tr '\\0' b",
                   kLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandRunnerResult, ArgumentsArriveOneByOne) {
    const QString program =
        writeScript("echo args", "for a in \"$@\"; do printf '[%s]' \"$a\"; done");
    EXPECT_EQ(runAppWithPath(program, {"a b", "\"quoted\"", "$HOME", "", "x'y"}),
              QString("[a b][\"quoted\"][$HOME][][x'y]"));
    EXPECT_EQ(runAppWithPath(program, {}), std::nullopt);
}

TEST_F(CommandRunnerResult, RunsBesideTheApplicationFolderWithItsEnvironment) {
    makeFolder("Apps Folder/Editor");
    appPaths.set({.bundleFolder = path("Apps Folder/Editor")});
    // Standard input is the null device: "read" ends at once.
    const QString program =
        writeScript("where", "pwd -P; printf '%s' \"$QUILLMAR_RUNNER_PROBE\"; read line || true");
    qputenv("QUILLMAR_RUNNER_PROBE", "probe value");
    EXPECT_EQ(runAppWithPath(program, {}),
              QDir(path("Apps Folder")).canonicalPath() + "\nprobe value");
    qunsetenv("QUILLMAR_RUNNER_PROBE");
}

TEST_F(CommandRunnerResult, AProgramThatCannotStartGivesNothing) {
    EXPECT_EQ(runAppWithPath(path("missing"), {}), std::nullopt);
    const QString notProgram = writeFile("plain", "just text");
    EXPECT_EQ(runAppWithPath(notProgram, {}), std::nullopt);
    // The path is taken as it is: a bare name is not looked for along PATH.
    EXPECT_EQ(runAppWithPath("sh", {"-c", "printf found"}), std::nullopt);
}

TEST_F(CommandRunnerResult, SystemCommandsAreFoundInTheirFolders) {
    const QString first = makeFolder("usr-bin") + u'/';
    const QString second = makeFolder("bin") + u'/';
    writeScript("usr-bin/both", "");
    writeScript("bin/both", "");
    writeScript("bin/only", "");
    EXPECT_EQ(locateUnixCommand("both", {first, second}), first + "both");
    EXPECT_EQ(locateUnixCommand("only", {first, second}), second + "only");
    EXPECT_EQ(locateUnixCommand("none", {first, second}), std::nullopt);
    EXPECT_EQ(unixCommandFolders(), (QStringList{"/usr/bin/", "/bin/"}));
}

TEST_F(CommandRunnerResult, AMissingSystemCommandSaysSoAndStartsNothing) {
    ::testing::internal::CaptureStdout();
    const auto result = doUnixCommand("quillmar-no-such-command", {"x"});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "quillmar-no-such-command could not be found for NSTask\n");
    EXPECT_EQ(result, std::nullopt);
    EXPECT_EQ(doUnixCommand("sh", {"-c", "printf 'from %s' \"$0\""}), QString("from /usr/bin/sh"));
}

}  // namespace
