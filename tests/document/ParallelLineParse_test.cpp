#include "document/ParallelLineParse.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DocumentFixtures.h"

TEST(ParallelLineParse, KeepsFileOrderAndLeavesOutDroppedItems) {
    for (std::size_t count : {std::size_t(0), std::size_t(7), std::size_t(5003)}) {
        const auto lines = ParallelLineParse::run(count, [](std::size_t i) {
            if (i % 7 == 3) return SCSubtitleLinePtr();
            auto line = SCSubtitleLine::create();
            line->setUserIndex(qint64(i));
            return line;
        });
        qint64 expected = 0;
        for (const auto& line : lines) {
            if (expected % 7 == 3) ++expected;
            EXPECT_EQ(line->userIndex(), expected++);
        }
        EXPECT_EQ(std::size_t(lines.size()), count - (count + 3) / 7);
    }
}

TEST(ParallelLineParse, ALargeFileLoadsInOrderWithItsBadCuesDropped) {
    QTemporaryDir folder;
    const QString path = folder.filePath("large.srt");
    QByteArray text;
    const int cues = 3000;
    for (int i = 0; i < cues; ++i) {
        text += QByteArray::number(i + 1) + '\n';
        text += i % 100 == 50 ? "not a time --> either\n" : "00:00:01,000 --> 00:00:02,000\n";
        text += "cue " + QByteArray::number(i) + "\n\n";
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    auto subtitle = SCSubtitle::create();
    ASSERT_EQ(documenttest::load(subtitle, QUrl::fromLocalFile(path), subtitleTypes::srt),
              resultTypes::ok);
    const auto lines = subtitle->subtitleLinesArray();
    ASSERT_EQ(lines.size(), cues - cues / 100);
    int cue = 0;
    for (const auto& line : lines) {
        if (cue % 100 == 50) ++cue;
        EXPECT_EQ(line->unformattedTextSRT(), QString("cue %1").arg(cue));
        EXPECT_EQ(line->originalIndex(), cue);
        ++cue;
    }
}

// A large parse measures row heights on its own threads; each must be the
// height the main thread gives the same cue.
TEST(ParallelLineParse, RowHeightsMeasuredOnItsThreadsAreTheMainThreads) {
    const QStringList texts{
        "Hello",
        "",
        "<i>Where were you on the night of the 12th?</i>",
        "<b>Two lines</b>\nof <u>dialogue</u>",
        "I was at home, reading a very long book, and nobody can say otherwise: ask the "
        "neighbours, ask the postman, ask anyone who walked past the window that night",
        "<i>A long italic line that wraps in the cell, because it goes on and on and on and "
        "on well past the width</i>",
        QString::fromUtf8("José, Zoë and Björn\nПривет, как дела?"),
        QString::fromUtf8("東京へ行きます。😀"),
        "{\\i1}not SRT markup{\\i0}",
        "first\n\nthird",
    };
    auto block = [&texts](std::size_t i) {
        QStringList lines{QString::number(i + 1), "00:00:01,000 --> 00:00:02,000"};
        const QString& text = texts[qsizetype(i) % texts.size()];
        if (!text.isEmpty()) lines += text.split(u'\n');
        return lines;
    };
    const std::size_t count = 2 * ParallelLineParse::kMinimumForThreads;
    const auto parsed = ParallelLineParse::run(count, [&block](std::size_t i) {
        auto line = SCSubtitleLine::create();
        line->setUserIndex(qint64(i));
        line->initializeFromSRTBlock(block(i));
        return line;
    });
    ASSERT_EQ(std::size_t(parsed.size()), count);
    for (const auto& line : parsed) {
        auto onMain = SCSubtitleLine::create();
        onMain->initializeFromSRTBlock(block(std::size_t(line->userIndex())));
        EXPECT_EQ(line->textTableRowHeight(), onMain->textTableRowHeight())
            << line->unformattedTextSRT().toStdString();
    }
}
