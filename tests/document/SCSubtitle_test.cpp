#include "document/SCSubtitle.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QSignalSpy>

#include "common/NotificationTypes.h"

TEST(SCSubtitle, NewDocumentIsEmpty) {
    const auto subtitle = SCSubtitle::create();
    EXPECT_TRUE(subtitle->subtitleLinesArray().isEmpty());
    EXPECT_TRUE(subtitle->subtitleStylesArray().isEmpty());
    EXPECT_TRUE(subtitle->scriptInfoDictionary().isEmpty());
    EXPECT_EQ(subtitle->subtitleFileType(), subtitleTypes::none);
    EXPECT_EQ(subtitle->currentExportFileType(), subtitleTypes::srt);
    EXPECT_EQ(subtitle->currentImportEncoding(), "UTF8");
    EXPECT_FALSE(subtitle->isInitializing() || subtitle->isCyclingEncodings() ||
                 subtitle->subtitleIsValid() || subtitle->isImageBased());
    EXPECT_EQ(subtitle->progressLabel(), "");
    EXPECT_EQ(subtitle->timeConflictsCount(), 0);
    EXPECT_EQ(subtitle->styleHeader(), "[V4+ Styles]");
    EXPECT_EQ(subtitle->openSubtitleQueue().name(), "Open Subtitle Queue");
    EXPECT_EQ(subtitle->openSubtitleQueue().width(), 2);
}

TEST(SCSubtitle, BusyFlagStaysOnWhileCyclingEncodings) {
    const auto subtitle = SCSubtitle::create();
    QSignalSpy spy(subtitle.get(), &SCSubtitle::isInitializingChanged);
    subtitle->setIsCyclingEncodings(true);
    subtitle->setIsInitializing(false);
    EXPECT_TRUE(subtitle->isInitializing());
    EXPECT_EQ(spy.count(), 1);
    subtitle->setIsCyclingEncodings(false);
    subtitle->setIsInitializing(false);
    EXPECT_FALSE(subtitle->isInitializing());
    EXPECT_EQ(spy.count(), 2);
}

TEST(SCSubtitle, ProposesAnExportName) {
    struct Case {
        QString file;
        subtitleTypes type;
        QString name;
    } cases[] = {
        {"", subtitleTypes::srt, ""},
        {"/films/Show.S01E01.srt", subtitleTypes::ass, "Show.S01E01.export.ass"},
        {"/films/Movie.en.srt", subtitleTypes::ass, "Movie.en.export.ass"},
        {"/films/Subs", subtitleTypes::srt, "Subs.export.srt"},
        {"/films/.hidden", subtitleTypes::srt, ".hidden.export.srt"},
    };
    for (const auto& c : cases) {
        const auto subtitle = SCSubtitle::create();
        if (!c.file.isEmpty()) subtitle->setSubtitleFileURL(QUrl::fromLocalFile(c.file));
        subtitle->setCurrentExportFileType(c.type);
        EXPECT_EQ(subtitle->subtitleExportName(), c.name) << c.file.toStdString();
    }
}

TEST(SCSubtitle, ObservesItsNotificationsUntilDestroyed) {
    auto& center = platform::NotificationCenter::defaultCenter();
    const QString timeChanged = notificationTypes(notificationTypes::timeChanged).rawValue();
    const QString lineCreated =
        notificationTypes(notificationTypes::imageSubSCSubtitleLineCreated).rawValue();
    const int timeBefore = center.observerCount(timeChanged);
    const int linesBefore = center.observerCount(lineCreated);
    {
        const auto subtitle = SCSubtitle::create();
        EXPECT_EQ(center.observerCount(timeChanged), timeBefore + 1);
        EXPECT_EQ(center.observerCount(lineCreated), linesBefore + 1);
        center.post(timeChanged);
    }
    EXPECT_EQ(center.observerCount(timeChanged), timeBefore);
    EXPECT_EQ(center.observerCount(lineCreated), linesBefore);
}

// The window and the editing views reach the plain state by name; such
// assignments are announced to nobody, and the two file types stay code-only.
TEST(SCSubtitle, PlainStateIsReachableByName) {
    const auto subtitle = SCSubtitle::create();
    const QMetaObject& meta = *subtitle->metaObject();
    const QMap<QString, QString> info{{"ScriptType", "v4.00"}};
    const struct {
        const char* key;
        QVariant value;
    } cases[] = {
        {"subtitleFileURL", QUrl::fromLocalFile("/films/Movie.en.srt")},
        {"currentImportEncoding", QString("ISOLatin1")},
        {"isCyclingEncodings", true},
        {"subtitleIsValid", true},
        {"styleHeader", QString("[V4 Styles]")},
        {"scriptInfoDictionary", QVariant::fromValue(info)},
    };
    for (const auto& c : cases) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(c.key));
        ASSERT_TRUE(property.isValid()) << c.key;
        EXPECT_FALSE(property.hasNotifySignal()) << c.key;
        EXPECT_TRUE(subtitle->setProperty(c.key, c.value)) << c.key;
        EXPECT_EQ(subtitle->property(c.key), c.value) << c.key;
    }
    EXPECT_EQ(subtitle->scriptInfoDictionary(), info);
    subtitle->setCurrentExportFileType(subtitleTypes::ass);
    EXPECT_EQ(subtitle->property("subtitleExportName").toString(), "Movie.en.export.ass");
    EXPECT_FALSE(subtitle->setProperty("subtitleExportName", QString("x")));
    EXPECT_TRUE(subtitle->property("outOfOrderImageSubLines").isValid());
    EXPECT_EQ(meta.indexOfProperty("currentExportFileType"), -1);
    EXPECT_EQ(meta.indexOfProperty("subtitleFileType"), -1);
}
