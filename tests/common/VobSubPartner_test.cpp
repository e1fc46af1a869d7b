#include "common/VobSubPartner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct Case {
    const char* index;
    QStringList entries;  // "name/" is a folder, "name|" a pipe, "name->target" a link
    std::optional<QString> partner;
};

// Makes the entries beside the index in a fresh folder.
void makeEntries(const QDir& folder, const char* index, const QStringList& entries) {
    QFile(folder.filePath(index)).open(QIODevice::WriteOnly);
    for (const QString& entry : entries) {
        if (entry.endsWith('/')) {
            ASSERT_TRUE(folder.mkdir(entry.chopped(1)));
        } else if (entry.endsWith('|')) {
            ASSERT_EQ(
                ::mkfifo(QFile::encodeName(folder.filePath(entry.chopped(1))).constData(), 0600),
                0);
        } else if (entry.contains("->")) {
            const QStringList parts = entry.split("->");
            ASSERT_TRUE(QFile::link(parts[1], folder.filePath(parts[0])));
        } else {
            QFile file(folder.filePath(entry));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
    }
}

// One rule for the window and the import: the SUB beside the index in any
// letter case, files only.
TEST(VobSubPartner, ThePictureFileIsTheFileOfTheIndexsNameWithSubInAnyCase) {
    const Case cases[] = {
        {"Film.idx", {"Film.sub"}, "Film.sub"},
        {"Film.IDX", {"Film.sub"}, "Film.sub"},
        {"Film.idx", {"Film.SUB"}, "Film.SUB"},
        {"FILM.IDX", {"FILM.SUB"}, "FILM.SUB"},
        {"Show.Idx", {"Show.Sub"}, "Show.Sub"},
        {"My.Film.idx", {"My.Film.sub", "My.sub"}, "My.Film.sub"},
        {"Film.idx", {"Film.sub", "Film.SUB"}, "Film.sub"},
        {"Film.idx", {"Film.SUB->elsewhere.bin", "elsewhere.bin"}, "Film.SUB"},
        // The base name keeps its case; folders, pipes and dangling links
        // are no picture files.
        {"Film.idx", {"film.sub"}, std::nullopt},
        {"Film.idx", {"Film.SUB/"}, std::nullopt},
        {"Film.idx", {"Film.sub/"}, std::nullopt},
        {"Film.idx", {"Film.SUB|"}, std::nullopt},
        {"Film.idx", {"Film.SUB->missing.bin"}, std::nullopt},
        {"Film.idx", {"Film.sub.bak", "Film.mkv"}, std::nullopt},
        {"Film.idx", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(c.index + QStringLiteral(" ") + c.entries.join(',')).toStdString());
        QTemporaryDir scratch;
        ASSERT_TRUE(scratch.isValid());
        const QDir folder(scratch.path());
        makeEntries(folder, c.index, c.entries);
        const auto partner = VobSubPartner::pictureFileOf(folder.filePath(c.index));
        if (c.partner)
            EXPECT_EQ(partner, folder.filePath(*c.partner));
        else
            EXPECT_EQ(partner, std::nullopt);
    }
}

TEST(VobSubPartner, ThePlainNameIsWhereMkvmergeLooks) {
    EXPECT_EQ(VobSubPartner::plainPictureFileOf("/a/Film.IDX"), "/a/Film.sub");
    EXPECT_EQ(VobSubPartner::plainPictureFileOf("/a/My.Film.idx"), "/a/My.Film.sub");
    EXPECT_EQ(VobSubPartner::plainPictureFileOf("/a.b/Film"), "/a.b/Film.sub");
}

}  // namespace
