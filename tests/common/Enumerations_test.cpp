#include <gtest/gtest.h>

#include "common/AppVariables.h"
#include "common/NotificationTypes.h"
#include "common/ResultTypes.h"
#include "common/SubtitleTypes.h"
#include "common/TimeConflictTypes.h"

TEST(SubtitleTypes, ExtensionsMapIgnoringCaseAndNothingElse) {
    const std::vector<std::pair<QString, subtitleTypes::Value>> cases{
        {"srt", subtitleTypes::srt},    {"SRT", subtitleTypes::srt},
        {".Srt", subtitleTypes::srt},   {"ass", subtitleTypes::ass},
        {".sSa", subtitleTypes::ass},   {"SSA", subtitleTypes::ass},
        {"IDX", subtitleTypes::vobsub}, {".sup", subtitleTypes::pgs},
        {"pgs", subtitleTypes::none},   {"sub", subtitleTypes::none},
        {"txt", subtitleTypes::none},   {"", subtitleTypes::none},
        {" srt", subtitleTypes::none},  {"srt.", subtitleTypes::none},
        {"a.srt", subtitleTypes::none},
    };
    for (const auto& [ext, expected] : cases)
        EXPECT_EQ(subtitleTypes::enumForExtension(ext), expected) << ext.toStdString();
}

TEST(SubtitleTypes, RawValuesAndKinds) {
    EXPECT_FALSE(subtitleTypes::fromRawValue("SRT").has_value());
    EXPECT_EQ(*subtitleTypes::fromRawValue("vobsub"), subtitleTypes::vobsub);
    EXPECT_EQ(subtitleTypes(subtitleTypes::pgs).rawValue(), "pgs");
    EXPECT_EQ(subtitleTypes(subtitleTypes::pgs).hashValue(), 3);
    const subtitleTypes none = subtitleTypes::none;
    EXPECT_FALSE(none.isTextBased());
    EXPECT_FALSE(none.isImageBased());
    EXPECT_TRUE(subtitleTypes(subtitleTypes::vobsub).isImageBased());
    EXPECT_TRUE(subtitleTypes(subtitleTypes::pgs).isImageBased());
    EXPECT_TRUE(subtitleTypes(subtitleTypes::srt).isTextBased());
    EXPECT_TRUE(subtitleTypes(subtitleTypes::ass).isTextBased());
}

TEST(Enumerations, RawValuesCompareWithCase) {
    EXPECT_EQ(*resultTypes::fromRawValue("OK"), resultTypes::ok);
    EXPECT_FALSE(resultTypes::fromRawValue("ok").has_value());
    EXPECT_FALSE(resultTypes::fromRawValue("Ok").has_value());
    EXPECT_EQ(resultTypes(resultTypes::error).rawValue(), "error");

    EXPECT_EQ(timeConflictTypes(timeConflictTypes::decreasingTime).rawValue(), "Decreasing Time");
    EXPECT_EQ(timeConflictTypes(timeConflictTypes::enclosed).rawValue(), "Enclosed");
    EXPECT_EQ(*timeConflictTypes::fromRawValue("Both Overlap"), timeConflictTypes::bothOverlap);

    EXPECT_EQ(notificationTypes(notificationTypes::imageSubSCSubtitleLineCreated).rawValue(),
              "imageSubSCSubtitleLineCreated");
    EXPECT_EQ(notificationTypes(notificationTypes::fileDownloadComplete).hashValue(), 6);
    EXPECT_FALSE(notificationTypes::fromRawValue("imageSubLineimported").has_value());
}

TEST(AppVariables, ConstantsAndEditableExtensions) {
    EXPECT_EQ(AppVariables::thisApplication.rawValue(), "Quillmar");
    EXPECT_EQ(AppVariables::dialogTableColumnWidth, 390.0);
    using A = AppVariables::toolsApps;
    EXPECT_EQ(A(A::Lodestra).defaultConversionExtension(), ".mkv");
    EXPECT_EQ(A(A::Quillmar).defaultConversionExtension(), ".srt");
    EXPECT_TRUE(A(A::Harnwick).canEditFileExtension("MOV"));
    EXPECT_TRUE(A(A::Quillmar).canEditFileExtension(".IDX"));
    EXPECT_FALSE(A(A::Quillmar).canEditFileExtension("sup"));
    EXPECT_FALSE(A(A::Lodestra).canEditFileExtension("mkv "));
    EXPECT_TRUE(A(A::Pellimor).canEditFileExtension("avi"));
}
