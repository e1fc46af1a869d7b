#include "platform/LogSink.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(LogSink, HandsEntriesVerbatimToTheCaptureHook) {
    QStringList captured;
    platform::LogSink::setCaptureHook([&](const QString& e) { captured.append(e); });
    platform::LogSink::write("100% %s %n done");
    platform::LogSink::setCaptureHook(nullptr);
    EXPECT_EQ(captured, QStringList{"100% %s %n done"});
}
