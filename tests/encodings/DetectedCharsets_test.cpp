#include "encodings/DetectedCharsets.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/CharsetDetector.h"

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

TEST(DetectedCharsets, NothingForEmptyBytesUnknownCharsetsOrUnicodeWithAMark) {
    EXPECT_FALSE(platform::CharsetDetector::detect(QByteArray()).has_value());
    EXPECT_FALSE(DetectedCharsets::catalogueNameForBytes(QByteArray()).has_value());
    EXPECT_FALSE(DetectedCharsets::catalogueNameFor("IBM420_rtl").has_value());
    EXPECT_FALSE(DetectedCharsets::catalogueNameForBytes(fixture("english-utf16le.srt")));
    EXPECT_EQ(DetectedCharsets::catalogueNameFor("windows-1250"), "WindowsLatin2");
}

}  // namespace
