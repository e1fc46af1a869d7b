#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DocumentFixtures.h"
#include "formatting/SCStyle.h"

using namespace documenttest;

namespace {

// Runs a re-read on a background thread, as the editing view does, then the
// main queue until its hand-over has run.
resultTypes reread(const std::shared_ptr<SCSubtitle>& subtitle, const QString& encoding) {
    auto result = std::async(std::launch::async, [subtitle, encoding] {
        return subtitle->reinitializeForNewEncoding(encoding);
    });
    testsupport::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    const resultTypes outcome = result.get();
    testsupport::drainMainQueue();
    return outcome;
}

QStringList textsOf(const SCSubtitle& subtitle, subtitleTypes type) {
    QStringList texts;
    for (const auto& line : subtitle.subtitleLinesArray())
        texts.append(type == subtitleTypes::srt ? line->unformattedTextSRT()
                                                : line->unformattedTextASS());
    return texts;
}

struct RereadCase {
    const char* file;
    subtitleTypes type;
    QStringList utf8Texts;
};

}  // namespace

TEST(SCSubtitleReread, GivesTheTextsOfTheNewEncodingAndKeepsEverythingElse) {
    const RereadCase cases[] = {
        {"accents-utf8.srt",
         subtitleTypes::srt,
         {QString::fromUtf8("Café crème"), "no accents here",
          QString::fromUtf8("<i>Größe</i> — fin")}},
        {"accents-utf8.ass",
         subtitleTypes::ass,
         {QString::fromUtf8("Café crème"), "no accents here",
          QString::fromUtf8("{\\i1}Größe{\\i0} — fin")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto subtitle = SCSubtitle::create();
        ASSERT_EQ(load(subtitle, fixture(c.file), c.type, "ISOLatin1"), resultTypes::ok);
        const auto lines = subtitle->subtitleLinesArray();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_NE(textsOf(*subtitle, c.type), c.utf8Texts);  // read as Latin-1: garbled
        const QString firstLoadText = lines[0]->masterText().originalText();

        lines[0]->setUserStartTimeDouble(0.5);
        lines[1]->setStyle("Edited");
        lines[2]->setIsExcluded(true);
        const qsizetype styleCount = subtitle->subtitleStylesArray().size();

        EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::ok);
        EXPECT_EQ(textsOf(*subtitle, c.type), c.utf8Texts);
        EXPECT_EQ(subtitle->subtitleLinesArray(), lines);  // the same line objects
        EXPECT_EQ(lines[0]->userStartTimeDouble(), 0.5);
        EXPECT_EQ(lines[1]->Style(), "Edited");
        EXPECT_TRUE(lines[2]->isExcluded());
        EXPECT_EQ(subtitle->subtitleStylesArray().size(), styleCount);
        EXPECT_EQ(subtitle->currentImportEncoding(), "UTF8");
        EXPECT_TRUE(subtitle->subtitleIsValid());
        EXPECT_FALSE(subtitle->isInitializing());
        EXPECT_EQ(subtitle->progressLabel(), "");
        // Resets still go back to the first load.
        EXPECT_EQ(lines[0]->masterText().originalText(), firstLoadText);
        if (c.type == subtitleTypes::ass)
            EXPECT_EQ(subtitle->scriptInfoDictionary().value("Title"),
                      QString::fromUtf8("Accents été"));
        else
            EXPECT_EQ(subtitle->scriptInfoDictionary(), SCSubtitle::srtScriptInfoDefaults());
    }
}

TEST(SCSubtitleReread, AFileThatCannotBeDecodedChangesNoText) {
    auto subtitle = loaded("latin1.srt", subtitleTypes::srt, "ISOLatin1");
    const QStringList before = textsOf(*subtitle, subtitleTypes::srt);
    ASSERT_FALSE(before.isEmpty());
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::error);
    EXPECT_EQ(textsOf(*subtitle, subtitleTypes::srt), before);
    EXPECT_EQ(subtitle->currentImportEncoding(), "UTF8");  // restoring it is the caller's task
    EXPECT_FALSE(subtitle->subtitleIsValid());
}

TEST(SCSubtitleReread, AFileThatChangedItsNumberOfCuesHandsOverOnlyCommonPositions) {
    QTemporaryDir folder;
    const QString path = folder.filePath("changing.srt");
    auto write = [&](const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(
        "1\n00:00:01,000 --> 00:00:02,000\none\n\n2\n00:00:03,000 --> 00:00:04,000\ntwo\n\n"
        "3\n00:00:05,000 --> 00:00:06,000\nthree\n");
    auto subtitle = SCSubtitle::create();
    ASSERT_EQ(load(subtitle, QUrl::fromLocalFile(path), subtitleTypes::srt), resultTypes::ok);

    write("1\n00:00:01,000 --> 00:00:02,000\nONE\n");
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::ok);
    EXPECT_EQ(textsOf(*subtitle, subtitleTypes::srt), (QStringList{"ONE", "two", "three"}));

    write(
        "1\n00:00:01,000 --> 00:00:02,000\nuno\n\n2\n00:00:03,000 --> 00:00:04,000\ndos\n\n"
        "3\n00:00:05,000 --> 00:00:06,000\ntres\n\n4\n00:00:07,000 --> 00:00:08,000\ncuatro\n");
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::ok);
    EXPECT_EQ(textsOf(*subtitle, subtitleTypes::srt), (QStringList{"uno", "dos", "tres"}));

    write("no cue at all\n");
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::error);
    EXPECT_EQ(textsOf(*subtitle, subtitleTypes::srt), (QStringList{"uno", "dos", "tres"}));
    EXPECT_FALSE(subtitle->isInitializing());
}

TEST(SCSubtitleReread, AnUneditedLineIsNotAnnouncedAgain) {
    auto subtitle = loaded("lf.srt", subtitleTypes::srt);
    const auto line = subtitle->subtitleLinesArray().value(1);
    ASSERT_TRUE(line);
    int dialogChanges = 0;
    platform::NotificationObserver observer("dialogChanged", [&](const platform::Notification& n) {
        if (n.object == line.get()) ++dialogChanges;
    });
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::ok);
    EXPECT_EQ(dialogChanges, 0);
    line->setUnformattedTextSRT("edited");
    EXPECT_EQ(dialogChanges, 1);
    EXPECT_EQ(reread(subtitle, "UTF8"), resultTypes::ok);
    EXPECT_EQ(line->unformattedTextSRT(), "Second");
    EXPECT_EQ(dialogChanges, 2);
}
