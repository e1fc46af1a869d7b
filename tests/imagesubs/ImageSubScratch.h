#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <optional>
#include <ostream>

#include "imagesubs/LineTimes.h"
#include "platform/LogSink.h"
#include "support/ScopedOverride.h"

// A scratch folder for generated subtitle files, and every log entry
// written meanwhile.
class ImageSubScratch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        logHook.emplace(&platform::LogSink::setCaptureHook,
                        [this](const QString& entry) { logged.append(entry); });
    }
    void TearDown() override { logHook.reset(); }

    QUrl write(const QString& name, const QByteArray& bytes) const {
        QFile file(scratch.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    }

    QTemporaryDir scratch;
    QStringList logged;
    std::optional<testsupport::ScopedOverride<platform::LogSink::Hook>> logHook;
};

inline void PrintTo(const TimePair& pair, std::ostream* out) {
    out->precision(17);
    *out << '(' << pair.start << ", " << pair.end << ')';
}
