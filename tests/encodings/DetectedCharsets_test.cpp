#include "encodings/DetectedCharsets.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/TextCodec.h"
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

// An SRT file of the dialogue lines with a marked line after each of the
// first ones, in the encoding; none where the encoding lacks a character.
std::optional<QByteArray> subtitleWithMarkedLines(const QStringList& dialogue,
                                                  const QStringList& marked,
                                                  const QString& encoding) {
    QStringList lines;
    for (qsizetype i = 0; i < dialogue.size(); ++i) {
        lines.append(dialogue[i]);
        if (i < marked.size()) lines.append(marked[i]);
    }
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += QStringLiteral("%1\r\n00:00:%2,000 --> 00:00:%2,900\r\n%3\r\n\r\n")
                    .arg(i + 1)
                    .arg(i + 1, 2, 10, QChar(u'0'))
                    .arg(lines[i]);
    return platform::TextCodec::encode(text, myEncodings::encodingForName(encoding));
}

// Japanese subtitles set a note before a sung line, an arrow, a reference
// mark, a star or a circle before a caption or a speaker, touching the word
// after it. EUC-JP's note and arrow read as Roman numerals in GB18030, where
// the kana read the same and every kanji another Han letter: a symbol beside
// a Latin word ("♪Oh", "→NHK") is no sign of the Chinese reading. Nor do the
// symbols move Korean or Chinese text out of its encoding.
TEST(DetectedCharsets, SymbolsBesideWordsKeepEastAsianTextInItsEncoding) {
    const QStringList japanese = {"昨日の夜はどこにいたの？", "基地に戻るまで油断するな。",
                                  "明日の朝、東京駅の北口で会おう。", "本当に大丈夫なのか？"};
    const QStringList korean = {"어젯밤에 어디 있었어?", "기지로 돌아갈 때까지 조심해.",
                                "내일 아침 서울역 북쪽 출구에서 만나자.", "정말 괜찮은 거야?"};
    const QStringList simplified = {"你昨天晚上去哪儿了？", "回到基地之前别大意。",
                                    "明天早上在北京站北口见面。", "你真的没事吗？"};
    const QStringList traditional = {"你昨天晚上去哪裡了？", "回到基地之前別大意。",
                                     "明天早上在台北車站北口見面。", "你真的沒事嗎？"};
    // Each language's lines led by the symbols: before Latin words, whose
    // letters read the same in every East Asian set, and before its own.
    const QList<QStringList> japaneseMarked = {
        {"♪Oh baby 今夜は帰さない", "♪Happy Birthday to you"},
        {"→NHK総合で生中継", "→OKだ、行こう"},
        {"※CMのあと結果発表", "★DJ松本の一曲", "○A組の田中です"},
        {"♪きらきら光る夜空の星", "→駅の北口で待ってる", "※この番組はフィクションです",
         "★主演　山田太郎"},
    };
    const QList<QStringList> koreanMarked = {
        {"♪Oh baby 오늘 밤은 보내지 않아", "→KBS 뉴스 속보"},
        {"※CM 후에 결과 발표", "★DJ 김민수의 노래", "○A반 선생님"},
        {"♪반짝반짝 작은 별", "→북쪽 출구에서 기다릴게"},
    };
    // GBK and Big5 have no note; GB18030 has every character.
    const QList<QStringList> gb18030Marked = {{"♪Oh baby 今晚别走", "→CCTV新闻直播"}};
    const QList<QStringList> simplifiedMarked = {
        {"→CCTV新闻直播", "※CM之后公布结果", "★DJ小王的歌", "○A班的王老师"},
        {"→北京站北口见", "※本节目纯属虚构", "★主演王小明"},
    };
    const QList<QStringList> traditionalMarked = {
        {"→TVBS新聞直播", "※CM之後公布結果", "★DJ小王的歌", "○A班的王老師"},
        {"→台北車站北口見", "※本節目純屬虛構", "★主演王小明"},
    };
    const struct {
        const char* encoding;  // what the file is written in
        const char* readsAs;   // the name that reads it as written
        const QStringList& dialogue;
        const QList<QStringList>& marked;
    } languages[] = {
        {"EUC_JP", "EUC_JP", japanese, japaneseMarked},
        {"ShiftJIS", "ShiftJIS", japanese, japaneseMarked},
        // Windows' superset of EUC-KR, as for Korean without the symbols.
        {"EUC_KR", "DOSKorean", korean, koreanMarked},
        {"GBK_95", "GB_18030_2000", simplified, simplifiedMarked},
        {"GB_18030_2000", "GB_18030_2000", simplified, gb18030Marked},
        {"Big5", "Big5", traditional, traditionalMarked},
    };
    // The shortest files: a line of dialogue and a marked one. The Latin
    // words may hold most of the letters ("♪Happy Birthday to you"), and a
    // single-byte page may read the few other bytes as letters and quotation
    // marks alone (windows-1251 reads Shift_JIS "○A組の" as "Ѓ›A‘g‚М").
    for (const char* encoding : {"EUC_JP", "ShiftJIS"})
        for (const QString& dialogue : {japanese[1], QStringLiteral("基地に戻るぞ")})
            for (const QStringList& marked : japaneseMarked)
                for (const QString& line : marked) {
                    const auto bytes = subtitleWithMarkedLines({dialogue}, {line}, encoding);
                    ASSERT_TRUE(bytes.has_value()) << encoding << " " << line.toStdString();
                    EXPECT_EQ(DetectedCharsets::catalogueNameForBytes(*bytes)
                                  .value_or("none")
                                  .toStdString(),
                              encoding)
                        << dialogue.toStdString() << " " << line.toStdString();
                }
    for (const auto& language : languages) {
        for (const QStringList& marked : language.marked) {
            const auto bytes =
                subtitleWithMarkedLines(language.dialogue, marked, language.encoding);
            ASSERT_TRUE(bytes.has_value())
                << language.encoding << " " << marked.join(' ').toStdString();
            EXPECT_EQ(
                DetectedCharsets::catalogueNameForBytes(*bytes).value_or("none").toStdString(),
                language.readsAs)
                << language.encoding << " " << marked.join(' ').toStdString();
        }
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
