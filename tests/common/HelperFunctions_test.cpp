#include "common/HelperFunctions.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>

#include "platform/LogSink.h"
#include "support/EventLoop.h"
#include "support/PlatformOverrides.h"

namespace {

// Captures log entries for the life of the fixture.
class Logged : public ::testing::Test {
  protected:
    QStringList entries;
    testsupport::ScopedOverride<platform::LogSink::Hook> capture{
        &platform::LogSink::setCaptureHook, [this](const QString& e) { entries.append(e); }};
};

}  // namespace

TEST_F(Logged, QplWritesThePrefixAndTheDescriptionVerbatim) {
    qpl(QStringLiteral("hello"));
    qpl(7);
    qpl();
    qpl(QStringLiteral("50%d off %@"));
    qpd(QStringLiteral("debug"));
    qp(QStringLiteral("never shown"));
    EXPECT_EQ(entries,
              (QStringList{"!!!! hello", "!!!! 7", "!!!! nil", "!!!! 50%d off %@", "##### debug"}));
}

TEST_F(Logged, QplFromAWorkerIsWrittenLaterOnTheMainThread) {
    QThread* worker = QThread::create([] { qpl(QStringLiteral("from worker")); });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_TRUE(entries.isEmpty());
    EXPECT_TRUE(testsupport::spinUntil([&] { return entries.size() == 1; }));
    EXPECT_EQ(entries.value(0), "!!!! from worker");
}

TEST_F(Logged, FindMatchesGivesWholeMatchesAndLogsBadPatterns) {
    const QString report = "Stream #0:0: Video: 720x576, Stream #0:1: Subtitle 1920x1080";
    EXPECT_EQ(findMatches("[0-9]+x[0-9]+", report), (QStringList{"720x576", "1920x1080"}));
    EXPECT_EQ(findMatches("([0-9]+)x", report), (QStringList{"720x", "1920x"}));
    EXPECT_EQ(findMatches("start:[ ]*[-0-9]+.[0-9]+", "Duration: 00:01, start: -0.040000, bitrate"),
              QStringList{"start: -0.040000"});
    EXPECT_EQ(findMatches("a.b", "a\nb"), QStringList{});
    EXPECT_TRUE(entries.isEmpty());
    EXPECT_EQ(findMatches("(", report), QStringList{});
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].startsWith("!!!! invalid regex: ")) << entries[0].toStdString();
}

TEST(HelperFunctions, DoOnMainThreadRunsInlineOnlyOnTheMainThread) {
    bool ran = false;
    doOnMainThread([&] { ran = true; });
    EXPECT_TRUE(ran);
    bool delayed = false;
    delay(0, [&] { delayed = true; });
    EXPECT_FALSE(delayed);
    EXPECT_TRUE(testsupport::spinUntil([&] { return delayed; }));
}

TEST(HelperFunctions, TextOperationsCountGraphemesAndUseUtf16Ranges) {
    EXPECT_EQ(helpLengthOfString(""), 0);
    EXPECT_EQ(helpLengthOfString(QString::fromUtf8("e\xCC\x81")), 1);  // e + combining acute
    EXPECT_EQ(helpLengthOfString(QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7")),
              1);  // flag

    const QString time = "01:02:03,500";
    EXPECT_EQ(helpStringReplacingCharactersInString(time, "9", {7, 1}), "01:02:09,500");
    EXPECT_EQ(helpStringReplacingCharactersInString(time, "9", {7, 0}), "01:02:093,500");
    EXPECT_EQ(helpSubstringInString(time, {9, 3}), "500");
    EXPECT_EQ(helpSubstringInString(time, {9, 0}), "");
}

TEST(HelperFunctions, DictionaryArraysConvertBothWays) {
    const QList<QVariantMap> platformDicts{{{"a", 1}, {"b", "x"}}, {}};
    const auto plain = plainDictionariesFromPlatformDictionaries(platformDicts);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].at("b").toString(), "x");
    EXPECT_EQ(platformDictionariesFromPlainDictionaries(plain), platformDicts);
}
