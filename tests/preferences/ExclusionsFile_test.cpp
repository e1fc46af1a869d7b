#include "preferences/ExclusionsFile.h"

#include <QDir>
#include <QFile>

#include "PreferencesFixture.h"

namespace {

class Exclusions : public PreferencesFixture {
  protected:
    QString file() const { return tessdata() + "/configs/exclusions"; }
    QByteArray bytes() const {
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
};

TEST_F(Exclusions, TheLocationFollowsTheSupportFolder) {
    EXPECT_EQ(ExclusionsFile::location(*preferences), file());
}

TEST_F(Exclusions, Reading) {
    const struct {
        const char* name;
        std::optional<QByteArray> content;  // none: no file
        QString expected;
        bool logged;
    } cases[] = {
        {"missing", std::nullopt, "", false},
        {"prefix alone", QByteArray("tessedit_char_blacklist "), "", false},
        {"characters and a final line break", QByteArray("tessedit_char_blacklist |\xC2\xA9l\n"),
         "|\u00A9l\n", false},
        {"other lines first", QByteArray("# mine\r\ntessedit_char_blacklist ab"), "ab", false},
        {"blanks kept", QByteArray("tessedit_char_blacklist  a "), " a ", false},
        {"name without its blank", QByteArray("tessedit_char_blacklist"), "", false},
        {"prefix twice", QByteArray("tessedit_char_blacklist atessedit_char_blacklist b"), "",
         false},
        {"no prefix", QByteArray("{}"), "", false},
        {"not UTF-8", QByteArray("tessedit_char_blacklist \xFF"), "", true},
        {"cut short at the end", QByteArray("tessedit_char_blacklist \xC3"), "", true},
        {"a lone surrogate", QByteArray("tessedit_char_blacklist \xED\xA0\x80"), "", true},
    };
    for (const auto& c : cases) {
        QFile::remove(file());
        if (c.content) writeFile(file(), *c.content);
        logged.clear();
        EXPECT_EQ(ExclusionsFile::read(file()), c.expected) << c.name;
        EXPECT_EQ(logged,
                  c.logged ? QStringList{"!!!! tempExclusionsString readError"} : QStringList())
            << c.name;
    }
}

TEST_F(Exclusions, AFolderInTheFilesPlaceIsUnreadable) {
    QDir().mkpath(file());
    EXPECT_EQ(ExclusionsFile::read(file()), "");
    EXPECT_EQ(logged, QStringList{"!!!! tempExclusionsString readError"});
}

TEST_F(Exclusions, WritingReplacesTheFileInPlace) {
    const struct {
        QString characters;
        QByteArray expected;
        QString readBack;
    } cases[] = {
        {"", "tessedit_char_blacklist ", ""},
        {"|\u00A9\u4E2D", "tessedit_char_blacklist |\xC2\xA9\xE4\xB8\xAD", "|\u00A9\u4E2D"},
        {"a\n", "tessedit_char_blacklist a\n", "a\n"},
        {"tessedit_char_blacklist x", "tessedit_char_blacklist tessedit_char_blacklist x", ""},
    };
    writeFile(file(), QByteArray(100, 'z'));
    for (const auto& c : cases) {
        EXPECT_TRUE(ExclusionsFile::write(file(), c.characters));
        EXPECT_EQ(bytes(), c.expected);
        EXPECT_EQ(ExclusionsFile::read(file()), c.readBack);
    }
    EXPECT_TRUE(logged.isEmpty()) << logged.join('\n').toStdString();
}

TEST_F(Exclusions, AFailedWriteIsLoggedWithTheEncodedURLAndMakesNoFolder) {
    const QString target = path("a b/\u00E9/exclusions");
    EXPECT_FALSE(ExclusionsFile::write(target, "x"));
    EXPECT_FALSE(QDir(path("a b")).exists());
    EXPECT_EQ(logged, QStringList{"!!!! error writing to exclusion file: file://" + scratch.path() +
                                  "/" + "a%20b/%C3%A9/exclusions"});
}

}  // namespace
