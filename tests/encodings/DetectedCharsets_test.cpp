#include "encodings/DetectedCharsets.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/UchardetDetector.h"

namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(QUILLMAR_FIXTURES "/editor/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DetectedCharsets, LegacySubtitleFilesGetTheirCatalogueEncoding) {
    const std::pair<const char*, const char*> cases[] = {
        {"french-windows1252.srt", "WindowsLatin1"},
        {"russian-windows1251.srt", "WindowsCyrillic"},
        {"czech-isolatin2.srt", "ISOLatin2"},
        {"japanese-shiftjis.srt", "ShiftJIS"},
    };
    for (const auto& [file, expected] : cases) {
        const QByteArray bytes = fixture(file);
        ASSERT_FALSE(bytes.isEmpty()) << file;
        const auto guess = platform::CharsetDetector::detect(bytes);
        ASSERT_TRUE(guess.has_value()) << file;
        EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(bytes), std::optional<QString>(expected))
            << file << ": " << guess->name.toStdString() << " " << guess->confidence;
    }
}

TEST(DetectedCharsets, NothingForEmptyBytesOrUnknownCharsets) {
    EXPECT_FALSE(platform::CharsetDetector::detect(QByteArray()).has_value());
    EXPECT_FALSE(platform::UchardetDetector::detect(QByteArray()).has_value());
    EXPECT_FALSE(DetectedCharsets::catalogueNameForBytes(QByteArray()).has_value());
    EXPECT_FALSE(DetectedCharsets::catalogueNameFor("IBM420_rtl").has_value());
    EXPECT_EQ(DetectedCharsets::catalogueNameFor("windows-1250"), "WindowsLatin2");
    EXPECT_EQ(DetectedCharsets::catalogueNameFor("WINDOWS-1250"), "WindowsLatin2");
}

// Unicode behind a byte-order mark is named with full confidence; the
// catalogue reads it in the form the mark gives.
TEST(DetectedCharsets, UnicodeWithAMarkGetsItsCatalogueForm) {
    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(fixture("english-utf16le.srt")), "Unicode");
    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(
                  QByteArray("\xFF\xFE\0\0h\0\0\0i\0\0\0\n\0\0\0", 16)),
              "UTF32");
    // The mark decides, where the readings of ASCII text tie: a Windows page
    // would show it as "ï»¿".
    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(
                  "\xEF\xBB\xBF"
                  "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello there.\r\n"),
              "UTF8");
    // A mark the bytes after it do not hold up is not taken.
    EXPECT_NE(DetectedCharsets::catalogueNameForBytes("\xEF\xBB\xBF"
                                                      "caf\xE9 cr\xE8me"),
              "UTF8");
}

// Every name either detector can answer has a catalogue encoding that this
// system converts; ICU's EBCDIC Arabic and Hebrew are the only exceptions.
TEST(DetectedCharsets, EveryNameADetectorGivesHasACatalogueEncoding) {
    const QStringList catalogue = myEncodings::allNames();
    const QStringList lacking = {"IBM420_rtl", "IBM420_ltr", "IBM424_rtl", "IBM424_ltr"};
    const QStringList icu = platform::CharsetDetector::detectableNames();
    EXPECT_TRUE(icu.contains("UTF-32LE"));
    for (const QString& charset : icu + platform::UchardetDetector::detectableNames()) {
        SCOPED_TRACE(charset.toStdString());
        const auto name = DetectedCharsets::catalogueNameFor(charset);
        if (lacking.contains(charset)) {
            EXPECT_FALSE(name.has_value());
            continue;
        }
        ASSERT_TRUE(name.has_value());
        EXPECT_TRUE(catalogue.contains(*name)) << name->toStdString();
        EXPECT_TRUE(myEncodings::encodingForName(*name).hasConverter()) << name->toStdString();
    }
}

// An ISO-8859, Mac or KOI8 page has the Windows page of its script beside
// it (Thai's is Windows' page 874), KOI8-R also KOI8-U; Windows pages and the
// multi-byte sets have none. Every sibling or other Latin page of a name a
// detector gives is a Windows page, KOI8-U or ISO-8859-15, and this system
// converts it.
TEST(DetectedCharsets, SiblingsShareTheScript) {
    const std::pair<const char*, QStringList> siblings[] = {
        {"ISOLatin1", {"WindowsLatin1"}},
        {"MacCentralEurRoman", {"WindowsLatin2"}},
        {"KOI8_R", {"WindowsCyrillic", "KOI8_U"}},
        {"MacCyrillic", {"WindowsCyrillic"}},
        {"ISOLatinGreek", {"WindowsGreek"}},
        {"ISOLatin7", {"WindowsBalticRim"}},
        {"ISOLatinThai", {"DOSThai"}},
    };
    for (const auto& [name, sibling] : siblings)
        EXPECT_EQ(DetectedCharsets::siblingsOf(name), sibling) << name;
    for (const char* name : {"WindowsLatin1", "WindowsBalticRim", "ShiftJIS", "UTF8", "VISCII"})
        EXPECT_TRUE(DetectedCharsets::siblingsOf(name).isEmpty()) << name;
    // Every Latin page has the other Latin Windows pages, a Latin-1 page also
    // ISO-8859-15; no other page has.
    const std::pair<const char*, QStringList> latin[] = {
        {"ISOLatin1", {"WindowsLatin2", "WindowsLatin5", "WindowsBalticRim", "ISOLatin9"}},
        {"ISOLatin7", {"WindowsLatin1", "WindowsLatin2", "WindowsLatin5"}},
        {"WindowsLatin1", {"WindowsLatin2", "WindowsLatin5", "WindowsBalticRim", "ISOLatin9"}},
        {"MacCentralEurRoman", {"WindowsLatin1", "WindowsLatin5", "WindowsBalticRim"}},
        {"WindowsCyrillic", {}},
        {"KOI8_R", {}},
        {"ShiftJIS", {}},
        {"VISCII", {}},
    };
    for (const auto& [name, others] : latin)
        EXPECT_EQ(DetectedCharsets::otherLatinPages(name), others) << name;
    for (const QString& charset : platform::CharsetDetector::detectableNames() +
                                      platform::UchardetDetector::detectableNames()) {
        const auto name = DetectedCharsets::catalogueNameFor(charset);
        if (!name) continue;
        const QStringList pages =
            DetectedCharsets::otherLatinPages(*name) + DetectedCharsets::siblingsOf(*name);
        for (const QString& page : pages) {
            const auto encoding = myEncodings::encodingForName(page);
            EXPECT_TRUE(encoding.converterName().startsWith("windows-") || page == "KOI8_U" ||
                        page == "ISOLatin9")
                << page.toStdString();
            EXPECT_TRUE(encoding.hasConverter()) << page.toStdString();
        }
    }
}

QByteArray encodingsFixture(const char* name) {
    QFile file(QStringLiteral(QUILLMAR_FIXTURES "/encodings/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// uchardet answers ISO-8859-13 for Lithuanian in windows-1257, which reads
// the dashes, ellipses and quotation marks as C1 controls: the Windows
// sibling stands in for it. Where both read the same text, the Windows page
// is the name; where an answer reads the bytes as cleanly as its sibling but
// otherwise (ISO-8859-2's "š" is windows-1250's "ą"), the answer stays.
TEST(DetectedCharsets, TheReadingWithTheLeastMessIsChosen) {
    const QByteArray typographic = encodingsFixture("lithuanian-windows-1257-typographic.srt");
    ASSERT_FALSE(typographic.isEmpty());
    const auto candidates = DetectedCharsets::candidatesFor(typographic);
    ASSERT_FALSE(candidates.isEmpty());
    EXPECT_EQ(candidates.first().name, "ISOLatin7");
    EXPECT_EQ(candidates.first().confidence, DetectedCharsets::kUchardetConfidence);
    const auto sibling = std::find_if(
        candidates.cbegin(), candidates.cend(),
        [](const DetectedCharsets::Candidate& c) { return c.mends.contains("ISOLatin7"); });
    ASSERT_NE(sibling, candidates.cend());
    EXPECT_EQ(sibling->name, "WindowsBalticRim");
    EXPECT_EQ(sibling->confidence, DetectedCharsets::kUchardetConfidence);
    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(typographic), "WindowsBalticRim");

    EXPECT_EQ(
        DetectedCharsets::catalogueNameForBytes(encodingsFixture("lithuanian-windows-1257.srt")),
        "WindowsBalticRim");
    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(encodingsFixture("czech-iso-8859-2.srt")),
              "ISOLatin2");
    // No detector names windows-1257 for Estonian; its Latin siblings do, and
    // only its reading keeps to one alphabet ("š" and "ž", not "ð" and "þ").
    EXPECT_EQ(
        DetectedCharsets::catalogueNameForBytes(encodingsFixture("estonian-windows-1257.srt")),
        "WindowsBalticRim");
}

// The detectors' answer stands where its reading shows no defect, however
// many letters another reading has; another reading is taken where it shows
// fewer defects, or, for a sibling, as few and every letter the answer reads.
TEST(DetectedCharsets, TheAnswerStandsUnlessAnotherReadingShowsFewerDefects) {
    const std::pair<const char*, const char*> files[] = {
        // "m²", "m³" and "™" are text; windows-1250 reads "m˛", "mł".
        {"german-windows-1252-units.srt", "WindowsLatin1"},
        {"english-windows-1252-units.srt", "WindowsLatin1"},
        // uchardet's ISO-8859-16 and windows-1250 read "ș" and "ş": no defect.
        {"romanian-iso-8859-16.srt", "ISOLatin10"},
        // KOI8-R has box drawing inside the words, windows-1251 capitals.
        {"ukrainian-koi8-u.srt", "KOI8_U"},
        // ISO-8859-7 reads "Ά" as "’": windows-1253 keeps its letters.
        {"greek-windows-1253-alpha.srt", "WindowsGreek"},
        // windows-1253 reads ISO-8859-7's "Ά" as "¶" beside a letter.
        {"greek-iso-8859-7-alpha.srt", "ISOLatinGreek"},
        // TIS-620 has controls where windows-874 has "…", "“", "”", "•", "–".
        {"thai-windows-874.srt", "DOSThai"},
        // Symbols beside Hangul and a Greek "α" are Korean text.
        {"korean-euc-kr-symbols.srt", "DOSKorean"},
        {"korean-cp949-symbols.srt", "DOSKorean"},
        // A Latin page reads the escapes and shifts as controls.
        {"japanese-iso-2022-jp.srt", "ISO_2022_JP"},
        {"korean-iso-2022-kr.srt", "ISO_2022_KR"},
    };
    for (const auto& [file, expected] : files) {
        const QByteArray bytes = encodingsFixture(file);
        ASSERT_FALSE(bytes.isEmpty()) << file;
        EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(bytes), std::optional<QString>(expected))
            << file;
    }
}

// Whatever the detectors answer, the candidates and the choice are names of
// the catalogue.
TEST(DetectedCharsets, OnlyCatalogueNamesAreCandidates) {
    const QStringList catalogue = myEncodings::allNames();
    for (const char* file : {"korean-euc-kr.srt", "russian-windows-1251-typographic.srt",
                             "english-windows-1252-typographic.srt", "arabic-windows-1256.srt"}) {
        const QByteArray bytes = encodingsFixture(file);
        ASSERT_FALSE(bytes.isEmpty()) << file;
        for (const auto& candidate : DetectedCharsets::candidatesFor(bytes)) {
            EXPECT_TRUE(catalogue.contains(candidate.name))
                << file << ": " << candidate.name.toStdString();
            // A detector's answer is above the floor; a sibling no detector
            // gave may have no confidence of its own.
            if (candidate.mends.isEmpty()) {
                EXPECT_GT(candidate.confidence, DetectedCharsets::kConfidenceFloor) << file;
            }
        }
        const auto chosen = DetectedCharsets::catalogueNameForBytes(bytes);
        ASSERT_TRUE(chosen.has_value()) << file;
        EXPECT_TRUE(catalogue.contains(*chosen)) << file;
    }
}

}  // namespace
