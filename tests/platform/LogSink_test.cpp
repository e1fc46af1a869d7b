#include "platform/LogSink.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/PlatformOverrides.h"

TEST(LogSink, HandsEntriesVerbatimToTheCaptureHook) {
    testsupport::ScopedLogCapture captured;
    platform::LogSink::write("100% %s %n done");
    EXPECT_EQ(captured.entries(), QStringList{"100% %s %n done"});
}
