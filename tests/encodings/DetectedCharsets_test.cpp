#include "encodings/DetectedCharsets.h"

#include <gtest/gtest.h>

#include <QFile>

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

// Text that a wrong single-byte guess makes of the bytes a right one reads
// as punctuation or letters.
TEST(DetectedCharsets, ControlsNulAndPrivateUseAreNotText) {
    const std::pair<QString, bool> cases[] = {
        {QString::fromUtf8("Kız kardeşin üç kez aradı…"), true},
        {QString::fromUtf8("Ω ä \u00A0 \uFFFD 你"), true},
        {QString("aradı") + QChar(0x85), false},
        {QString("a") + QChar(0x80) + "b", false},
        {QString("a") + QChar(0x9F), false},
        {QString("a") + QChar(0) + "b", false},
        {QString("a") + QChar(0xE000), false},
        {QString("a") + QChar(0xF8FF), false},
        {QString::fromUcs4(U"a\U000F0000"), false},
        {QString::fromUcs4(U"a\U0001F600"), true},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(DetectedCharsets::looksLikeText(text), expected) << text.toStdString();
}

}  // namespace
