#include "PreferencesFixture.h"
#include "preferences/LanguageDataSource.h"
#include "preferences/LanguageGroups.h"
#include "preferences/LanguageIndex.h"

namespace {

TEST(LanguageIndex, BreakSeparatedForm) {
    const struct {
        QString body;
        std::optional<QStringList> expected;
    } cases[] = {
        {"aaa.traineddata<br>bbb.traineddata<br>aaa.user-words<br>filesIndex.php",
         QStringList{"aaa.traineddata", "bbb.traineddata", "aaa.user-words"}},
        {"<br>", QStringList{}},
        {"a<br><br>b", QStringList{"a", "b"}},
        {" \n\ta<br>\nb<br>c \r\n", QStringList{"a", "\nb", "c"}},
        {"FilesIndex.php<br> filesIndex.php<br>filesIndex.php",
         QStringList{"FilesIndex.php", " filesIndex.php"}},
        {"<br> <br>", QStringList{" "}},
        {"eng.traineddata", std::nullopt},
        {"", std::nullopt},
        {"a<BR>b", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageIndex::fromBreakSeparated(c.body), c.expected) << c.body.toStdString();
}

TEST(LanguageIndex, RepositoryContentsForm) {
    const QString listing = R"([
        {"name": ".gitattributes", "type": "file"},
        {"name": "LICENSE", "type": "file"},
        {"name": "afr.traineddata", "type": "file", "size": 1},
        {"name": "script", "type": "dir"},
        {"name": "eng.traineddata", "type": "file"},
        {"name": "x.traineddata", "type": "dir"}
    ])";
    EXPECT_EQ(LanguageIndex::fromRepositoryContents(listing),
              (QStringList{"afr.traineddata", "eng.traineddata"}));
    EXPECT_EQ(LanguageIndex::fromRepositoryContents("[]"), QStringList{});
    for (const char* bad : {"", "{\"message\": \"Not Found\"}", "a<br>b", "[1,"})
        EXPECT_EQ(LanguageIndex::fromRepositoryContents(bad), std::nullopt) << bad;
}

TEST(LanguageGroups, GroupsByTheTextBeforeTheFirstDot) {
    const LanguageGroups groups = LanguageGroups::fromFileNames(
        {"aaa.traineddata", "bbb.traineddata", "aaa.user-words", "aaa.traineddata", "README",
         "chi_sim.traineddata", "chi_sim.vert.traineddata"});
    EXPECT_EQ(groups.languages, (QStringList{"aaa", "bbb", "chi_sim"}));
    EXPECT_EQ(groups.files.value("aaa"), (QStringList{"aaa.traineddata", "aaa.user-words"}));
    EXPECT_EQ(groups.files.value("bbb"), (QStringList{"bbb.traineddata"}));
    EXPECT_EQ(groups.files.value("chi_sim"),
              (QStringList{"chi_sim.traineddata", "chi_sim.vert.traineddata"}));
    EXPECT_EQ(groups.files.keys().size(), 3);
}

TEST(LanguageGroups, HostileNamesAreNotOffered) {
    const QStringList hostile = {"",
                                 ".",
                                 "..",
                                 ".hidden.traineddata",
                                 "../eng.traineddata",
                                 "a/b.traineddata",
                                 "a\\b.traineddata",
                                 "x\n..",
                                 "a\rb.traineddata",
                                 QString("a") + QChar(0) + ".traineddata",
                                 "a\x7F.traineddata",
                                 QString("a\u2028b.traineddata"),
                                 QString(QChar(0xD800)) + ".traineddata",
                                 QString("x") + QChar(0xDC00) + "y.traineddata",
                                 "noDot"};
    for (const QString& name : hostile)
        EXPECT_TRUE(LanguageGroups::fromFileNames({name}).languages.isEmpty())
            << name.toStdString();
    const QStringList fine = {"a b.traineddata", "a?b.traineddata", "fr\u00E9.traineddata",
                              "a%2F..%2Fx.traineddata", "-x.traineddata"};
    EXPECT_EQ(LanguageGroups::fromFileNames(fine).languages,
              (QStringList{"a b", "a?b", "fr\u00E9", "a%2F", "-x"}));
}

TEST(LanguageDataSource, FileNamesBecomeOneEncodedPathSegment) {
    const LanguageDataSource source =
        LanguageDataSource::breakSeparatedAt(QUrl("http://127.0.0.1:8080/"));
    EXPECT_EQ(source.indexURL, QUrl("http://127.0.0.1:8080/tesseract/filesIndex.php"));
    const struct {
        QString name;
        QString expected;
    } cases[] = {
        {"eng.traineddata", "http://127.0.0.1:8080/tesseract/eng.traineddata"},
        {"a b?c#d.traineddata", "http://127.0.0.1:8080/tesseract/a%20b%3Fc%23d.traineddata"},
        {"a%2F..%2Fx", "http://127.0.0.1:8080/tesseract/a%252F..%252Fx"},
        {"fr\u00E9", "http://127.0.0.1:8080/tesseract/fr%C3%A9"},
    };
    for (const auto& c : cases) {
        const QUrl url = source.fileURL(c.name);
        EXPECT_TRUE(url.isValid());
        EXPECT_EQ(url.toString(QUrl::FullyEncoded), c.expected);
        EXPECT_EQ(url.fileName(), c.name);
    }
    const LanguageDataSource upstream = LanguageDataSource::upstream();
    EXPECT_EQ(upstream.indexURL.scheme(), "https");
    EXPECT_EQ(upstream.fileURL("eng.traineddata").scheme(), "https");
}

}  // namespace
