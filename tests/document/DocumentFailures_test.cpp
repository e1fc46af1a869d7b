#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DocumentFixtures.h"
#include "support/PlatformOverrides.h"

using namespace documenttest;

TEST(DocumentFailures, EachFailureNamesItsCause) {
    using K = DocumentFailure::Kind;
    QTemporaryDir scratch;
    QDir(scratch.path()).mkdir("folder.srt");
    QFile plain(scratch.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    enum class Step { load, write };
    struct Case {
        const char* name;
        Step step;
        QString path;
        QString encoding;
        K kind;
        qint64 line;
        bool anotherEncoding;
    } cases[] = {
        {"missing file", Step::load, scratch.filePath("gone.srt"), "UTF8", K::missingFile, 0,
         false},
        {"folder", Step::load, scratch.filePath("folder.srt"), "UTF8", K::notAFile, 0, false},
        {"undecodable", Step::load, fixture("latin1.srt").toLocalFile(), "UTF8", K::undecodable, 0,
         true},
        {"no readable line", Step::load,
         QString(QUILLMAR_FIXTURES "/realfiles/no-readable-line.srt"), "UTF8", K::noReadableLine, 0,
         true},
        {"unwritable folder", Step::write, scratch.filePath("plain/out.srt"), "UTF8", K::unwritable,
         0, false},
        {"unencodable text", Step::write, scratch.filePath("out.srt"), "ISOLatin1", K::unencodable,
         8, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedLogCapture log;
        auto subtitle = SCSubtitle::create();
        if (c.step == Step::load) {
            EXPECT_EQ(load(subtitle, QUrl::fromLocalFile(c.path), subtitleTypes::srt, c.encoding),
                      resultTypes::error);
        } else {
            // Line 8 of the written file is the second cue's text.
            ASSERT_EQ(load(subtitle, fixture("lf.srt"), subtitleTypes::srt), resultTypes::ok);
            ASSERT_GE(subtitle->subtitleLinesArray().size(), 2);
            subtitle->subtitleLinesArray()[1]->setUnformattedTextSRT(QString::fromUtf8("5 €"));
            EXPECT_EQ(subtitle->writeSubToURL(QUrl::fromLocalFile(c.path), c.encoding),
                      resultTypes::error);
        }
        testsupport::drainMainQueue();
        const DocumentFailure failure = subtitle->lastFailure();
        EXPECT_EQ(failure.kind, c.kind) << failure.description().toStdString();
        EXPECT_EQ(failure.path, c.path);
        EXPECT_EQ(failure.line, c.line);
        EXPECT_EQ(failure.worthAnotherEncoding(), c.anotherEncoding);
        // A failed read leaves the log to its caller, which knows whether
        // another encoding follows.
        if (c.step == Step::load) {
            EXPECT_EQ(log.entries(), QStringList());
        }
    }
}

TEST(DocumentFailures, ASuccessClearsTheLastFailure) {
    auto subtitle = SCSubtitle::create();
    testsupport::ScopedLogCapture log;
    load(subtitle, fixture("missing.srt"), subtitleTypes::srt);
    ASSERT_EQ(subtitle->lastFailure().kind, DocumentFailure::Kind::missingFile);
    ASSERT_EQ(load(subtitle, fixture("lf.srt"), subtitleTypes::srt), resultTypes::ok);
    EXPECT_FALSE(subtitle->lastFailure());
    EXPECT_EQ(subtitle->lastFailure().description(), "none");
}
