#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <future>

#include "DocumentFixtures.h"
#include "support/PlatformOverrides.h"

using namespace documenttest;

// The views read a document's load state by name while its loads and
// re-reads run on a worker; the sanitizer builds see any unguarded access.
TEST(DocumentThreads, LoadStateReadsByNameWhileLoadsRun) {
    testsupport::ScopedLogCapture quiet;
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(subtitleTypes::ass);
    std::atomic<bool> done{false};
    auto worker = std::async(std::launch::async, [&] {
        int failures = 0;
        const QString files[] = {"two-styles.ass", "accents-utf8.ass", "missing.ass"};
        for (int round = 0; round < 12; ++round) {
            const QUrl url = fixture(files[round % 3]);
            if (subtitle->initializeFromTextSubURL(url, "UTF8") != resultTypes::ok) ++failures;
            subtitle->reinitializeForNewEncoding(round % 2 ? "ISOLatin1" : "UTF8");
        }
        done = true;
        return failures;
    });

    int reads = 0;
    const char* names[] = {"subtitleFileURL",      "currentImportEncoding", "subtitleIsValid",
                           "scriptInfoDictionary", "styleHeader",           "subtitleLinesCount"};
    while (!done) {
        for (const char* name : names) EXPECT_TRUE(subtitle->property(name).isValid()) << name;
        EXPECT_GE(subtitle->subtitleLinesCount(), 0);
        (void)subtitle->keptSections();
        (void)subtitle->lastFailure().description();
        ++reads;
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(worker.get(), 4);  // the missing file, every third round
    testsupport::drainMainQueue();
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    testsupport::drainMainQueue();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(subtitle->subtitleLinesCount(), subtitle->subtitleLinesArray().size());
}
