#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "editor/OpeningFixture.h"
#include "editor/QtPrinters.h"
#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

using editortest::OpeningTest;

namespace {

class LegacyOpening : public OpeningTest {};

struct ShortFile {
    const char* file;
    const char* trueEncoding;  // what the fixture was written in
    const char* opensWith;     // the catalogue name that reads it as written
};

// Files of a few short cues (about 200 bytes), where a detector has little
// text to go by. A wrong guess that still decodes (the Greek fixtures read
// as ISO-8859-7, Turkish with "…" as ISO-8859-9) shows garbled text; a guess
// that does not, or none, lets the cycle go on to the next name, which reads
// any bytes.
TEST_F(LegacyOpening, ShortLegacyFilesOpenWithTheirTextAndTheNameThatReadThem) {
    const ShortFile files[] = {
        {"polish-windows-1250.srt", "WindowsLatin2", "WindowsLatin2"},
        {"russian-windows-1251.srt", "WindowsCyrillic", "WindowsCyrillic"},
        {"russian-windows-1251-four-lines.srt", "WindowsCyrillic", "WindowsCyrillic"},
        {"french-windows-1252.srt", "WindowsLatin1", "WindowsLatin1"},
        {"greek-windows-1253.srt", "WindowsGreek", "WindowsGreek"},
        {"greek-windows-1253-four-lines.srt", "WindowsGreek", "WindowsGreek"},
        {"turkish-windows-1254.srt", "WindowsLatin5", "WindowsLatin5"},
        {"hebrew-windows-1255.srt", "WindowsHebrew", "WindowsHebrew"},
        {"arabic-windows-1256.srt", "WindowsArabic", "WindowsArabic"},
        {"arabic-windows-1256-b.srt", "WindowsArabic", "WindowsArabic"},
        // ISO-8859-13 reads its letters alike: the Windows page is named.
        {"lithuanian-windows-1257.srt", "WindowsBalticRim", "WindowsBalticRim"},
        {"russian-koi8-r.srt", "KOI8_R", "KOI8_R"},
        {"czech-iso-8859-2.srt", "ISOLatin2", "ISOLatin2"},
        {"japanese-shift_jis.srt", "ShiftJIS", "ShiftJIS"},
        {"japanese-euc-jp.srt", "EUC_JP", "EUC_JP"},
        {"chinese-simplified-gb18030.srt", "GB_18030_2000", "GB_18030_2000"},
        {"chinese-traditional-big5.srt", "Big5", "Big5"},
        // Windows' superset of EUC-KR, as uchardet names it.
        {"korean-euc-kr.srt", "EUC_KR", "DOSKorean"},
        // Typographic marks, the bytes 0x80-0x9F of the Windows pages, where
        // the ISO and Mac pages uchardet answers have controls or letters:
        // dialogue dashes, ellipses, quotation marks and apostrophes.
        {"lithuanian-windows-1257-typographic.srt", "WindowsBalticRim", "WindowsBalticRim"},
        {"latvian-windows-1257-typographic.srt", "WindowsBalticRim", "WindowsBalticRim"},
        {"russian-windows-1251-typographic.srt", "WindowsCyrillic", "WindowsCyrillic"},
        {"english-windows-1252-typographic.srt", "WindowsLatin1", "WindowsLatin1"},
        // Estonian reads cleanly in windows-1252 too, with Icelandic's "ð"
        // and "þ" for its "š" and "ž"; no detector names windows-1257.
        {"estonian-windows-1257.srt", "WindowsBalticRim", "WindowsBalticRim"},
        // Units and signs beside numbers and words ("m²", "m³", "20 °C", "™")
        // are text: windows-1250 would make letters of them ("mł").
        {"german-windows-1252-units.srt", "WindowsLatin1", "WindowsLatin1"},
        {"english-windows-1252-units.srt", "WindowsLatin1", "WindowsLatin1"},
        // uchardet names ISO-8859-16; windows-1250 reads "ş" for its "ș".
        {"romanian-iso-8859-16.srt", "ISOLatin10", "ISOLatin10"},
        // The detectors name KOI8-R, which has box drawing for "і", "ї", "є"
        // and "ґ"; windows-1251 swaps the case of every letter.
        {"ukrainian-koi8-u.srt", "KOI8_U", "KOI8_U"},
        // uchardet names ISO-8859-7, which reads windows-1253's "Ά" as "’";
        // the other way, windows-1253 reads ISO-8859-7's "Ά" as "¶".
        {"greek-windows-1253-alpha.srt", "WindowsGreek", "WindowsGreek"},
        {"greek-iso-8859-7-alpha.srt", "ISOLatinGreek", "ISOLatinGreek"},
        // uchardet names TIS-620, which has controls for "…", "“", "”", "•".
        {"thai-windows-874.srt", "DOSThai", "DOSThai"},
        // Symbols beside Hangul ("♡", "☆", "【", "ⅰ", "˚") and a Greek "α".
        {"korean-euc-kr-symbols.srt", "EUC_KR", "DOSKorean"},
        {"korean-cp949-symbols.srt", "DOSKorean", "DOSKorean"},
        // A note before a sung line, an arrow, a reference mark, a star and a
        // circle touching the word after them ("♪Oh", "→NHK", "★DJ"). In
        // GB18030, EUC-JP's note and arrow are Roman numerals and its kanji
        // other Han letters: the Japanese reading stays.
        {"japanese-euc-jp-symbols.srt", "EUC_JP", "EUC_JP"},
        {"japanese-shift_jis-symbols.srt", "ShiftJIS", "ShiftJIS"},
        // Two cues: a Latin word holds most letters of the EUC-JP file, and
        // windows-1251 reads the Shift_JIS one as letters and quotation marks.
        {"japanese-euc-jp-symbols-two-cues.srt", "EUC_JP", "EUC_JP"},
        {"japanese-shift_jis-symbols-two-cues.srt", "ShiftJIS", "ShiftJIS"},
        {"chinese-simplified-gbk-symbols.srt", "GBK_95", "GB_18030_2000"},
        {"chinese-traditional-big5-symbols.srt", "Big5", "Big5"},
    };
    for (const ShortFile& f : files) {
        SCOPED_TRACE(f.file);
        const QString path = QStringLiteral(QUILLMAR_FIXTURES "/encodings/") + f.file;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto written = platform::TextCodec::decode(
            file.readAll(), myEncodings::encodingForName(f.trueEncoding));
        ASSERT_TRUE(written.has_value());
        reads = std::make_shared<editortest::CountingReads>();
        auto view = openedView(QUrl::fromLocalFile(path), subtitleTypes::srt);
        // UTF-8 fails, the detected name reads it, and the menu shows that name.
        EXPECT_EQ(reads->names(), QStringList({"UTF8", f.opensWith}));
        EXPECT_EQ(view->importEncoding(), f.opensWith);
        EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), f.opensWith);
        const auto& lines = view->viewSubtitle()->subtitleLinesArray();
        EXPECT_GE(lines.size(), 2);
        for (const auto& line : lines) {
            QString text = line->unformattedTextSRT();
            EXPECT_TRUE(written->contains(text.replace(u'\n', QStringLiteral("\r\n"))))
                << text.toStdString();
        }
        EXPECT_EQ(sheet(), nullptr);
    }
}

// Files that other encodings read too, with the wrong text: a 7-bit form
// with escapes (UTF-8 reads its escapes and shifts as controls) is read in
// its own form at once; a byte-order mark names UTF-8 where the stored
// encoding fails and the detection runs (a Windows page would read the mark
// as "ï»¿", and an ASS file would not open in it).
TEST_F(LegacyOpening, EscapedAndMarkedFilesOpenWithTheirText) {
    const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray srtText("1\r\n00:00:01,000 --> 00:00:03,000\r\nHello there.\r\n\r\n");
    QFile ass(QStringLiteral(QUILLMAR_FIXTURES "/editor/sample.ass"));
    ASSERT_TRUE(ass.open(QIODevice::ReadOnly));
    const QByteArray assText = ass.readAll();
    const struct {
        const char* name;
        QByteArray bytes;  // empty: the fixture of that name
        subtitleTypes type;
        const char* stored;  // the stored import encoding
        QStringList reads;
        const char* firstLine;
    } files[] = {
        // clang-format off
        {"japanese-iso-2022-jp.srt", {}, subtitleTypes::srt, "UTF8", {"ISO_2022_JP"},
         "昨日の夜どこにいたの？"},
        {"korean-iso-2022-kr.srt", {}, subtitleTypes::srt, "UTF8", {"ISO_2022_KR"},
         "어젯밤에 어디 있었어?"},
        {"marked.srt", mark + srtText, subtitleTypes::srt, "ASCII", {"ASCII", "UTF8"},
         "Hello there."},
        {"marked.ass", mark + assText, subtitleTypes::ass, "ASCII", {"ASCII", "UTF8"},
         "Where were you last night?"},
        // clang-format on
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        QTemporaryDir folder;
        QString path = QStringLiteral(QUILLMAR_FIXTURES "/encodings/") + f.name;
        if (!f.bytes.isEmpty()) {
            path = folder.filePath(f.name);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(f.bytes);
        }
        setPreference("importEncoding", QString(f.stored));
        reads = std::make_shared<editortest::CountingReads>();
        std::unique_ptr<SCMainViewController> view;
        if (f.type == subtitleTypes::ass)
            view = openedView<SCViewControllerASS>(QUrl::fromLocalFile(path), f.type);
        else
            view = openedView(QUrl::fromLocalFile(path), f.type);
        EXPECT_EQ(reads->names(), f.reads);
        EXPECT_EQ(view->importEncoding(), f.reads.last());
        const auto& lines = view->viewSubtitle()->subtitleLinesArray();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines[0]->unformattedTextSRT(), QString::fromUtf8(f.firstLine));
        EXPECT_EQ(sheet(), nullptr);
    }
}

// A file with a byte-order mark is read in the Unicode form the mark names,
// the first time.
TEST_F(LegacyOpening, UnicodeWithAByteOrderMarkOpensAtTheFirstTryAfterUtf8) {
    const QString text =
        QString::fromUtf8("1\r\n00:00:01,000 --> 00:00:03,000\r\nΓεια σου, κόσμε!\r\n\r\n");
    const struct {
        const char* converter;
        const char* opensWith;
    } forms[] = {{"UTF-32LE", "UTF32"}, {"UTF-32BE", "UTF32"}, {"UTF-16LE", "Unicode"}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.converter);
        const auto bytes = platform::TextCodec::encode(
            QChar(0xFEFF) + text,
            platform::StringEncoding(platform::StringEncoding::Backend::Icu, form.converter, 0));
        ASSERT_TRUE(bytes.has_value());
        QTemporaryDir folder;
        QFile file(folder.filePath("unicode.srt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*bytes);
        file.close();
        reads = std::make_shared<editortest::CountingReads>();
        auto view = openedView(QUrl::fromLocalFile(file.fileName()), subtitleTypes::srt);
        EXPECT_EQ(reads->names(), QStringList({"UTF8", form.opensWith}));
        EXPECT_EQ(view->importEncoding(), form.opensWith);
        ASSERT_EQ(view->viewSubtitle()->subtitleLinesArray().size(), 1);
        EXPECT_EQ(view->viewSubtitle()->subtitleLinesArray()[0]->unformattedTextSRT(),
                  QString::fromUtf8("Γεια σου, κόσμε!"));
    }
}

}  // namespace
