#include "formatting/SSSubtitleDialog.h"

#include <gtest/gtest.h>

#include "StubSpellChecker.h"
#include "support/PlatformOverrides.h"

using platform::TextRange;

namespace {

// One expected display: the characters, and per position a letter code of
// face and underline: "n" Helvetica, "b" bold, "i" oblique, "x" bold
// oblique; upper case when underlined; "e" for a blue override position.
struct DisplayCase {
    const char* name;
    QString text;
    subtitleTypes type;
    QString srt;
    QString ass;
    QString display;
    QString look;
};

QString lookOf(const platform::AttributedText& text) {
    QString look;
    for (qsizetype p = 0; p < text.length(); ++p) {
        const auto a = text.attributesAt(p);
        if (a.foregroundColor == platform::RGBAColor::blueColor()) {
            look += 'e';
            continue;
        }
        const QString face = a.font ? a.font->faceName : QString();
        QChar c = face == "Helvetica-Bold"          ? 'b'
                  : face == "Helvetica-Oblique"     ? 'i'
                  : face == "Helvetica-BoldOblique" ? 'x'
                  : face == "Helvetica"             ? 'n'
                                                    : '?';
        if (a.underlineStyle.value_or(0) == 1) c = c.toUpper();
        look += c;
    }
    return look;
}

class SSSubtitleDialogTest : public ::testing::Test {
  protected:
    testsupport::ScopedSpellChecker spelling{
        std::make_shared<StubSpellChecker>(QStringList{"teh"})};
};

}  // namespace

TEST_F(SSSubtitleDialogTest, EmptyRecordHasDefaults) {
    const SSSubtitleDialog dialog;
    EXPECT_TRUE(dialog.plainTextSRT().isEmpty());
    EXPECT_TRUE(dialog.plainTextASS().isEmpty());
    EXPECT_TRUE(dialog.isSpelledCorrectly());
    EXPECT_FALSE(dialog.originalSubtitleType());
    EXPECT_NE(dialog.formattedText(), dialog.formattedTextSelected());
    EXPECT_NE(dialog.formattedText(), dialog.formattedTextUnselected());
    EXPECT_NE(dialog.formattedTextSelected(), dialog.formattedTextUnselected());
    EXPECT_EQ(dialog.formattedText()->length(), 0);
}

TEST_F(SSSubtitleDialogTest, ConstructionFillsBothSyntaxesAndTheDisplay) {
    using T = subtitleTypes;
    const DisplayCase cases[] = {
        {"srt bold", "<b>Hi</b> there", T::srt, "<b>Hi</b> there", "{\\b1}Hi{\\b0} there",
         "Hi there", "bbnnnnnn"},
        {"ass italic", "{\\i1}Hi{\\i0}", T::ass, "<i>Hi</i>", "{\\i1}Hi{\\i0}", "Hi", "ii"},
        {"no markers", "Plain", T::srt, "Plain", "Plain", "Plain", "nnnnn"},
        {"srt override stays plain", "{\\an8}Top", T::srt, "{\\an8}Top", "{\\an8}Top", "{\\an8}Top",
         "nnnnnnnnn"},
        {"ass override and bold", "{\\an8}{\\b1}Top{\\b0}", T::ass, "{\\an8}<b>Top</b>",
         "{\\an8}{\\b1}Top{\\b0}", "{\\an8}Top", "eeeeeebbb"},
        {"unpaired tag cut too", "<b>a</b> <b>c", T::srt, "<b>a</b> <b>c", "{\\b1}a{\\b0} {\\b1}c",
         "a c", "bnn"},
        {"no closing marker", "<b>Hello", T::srt, "<b>Hello", "<b>Hello", "<b>Hello", "nnnnnnnn"},
        {"upper case tags", "<B>x</B>", T::srt, "<B>x</B>", "<B>x</B>", "<B>x</B>", "nnnnnnnn"},
        {"ass without closing", "{\\b1}Hello", T::ass, "<b>Hello", "{\\b1}Hello", "{\\b1}Hello",
         "eeeeennnnn"},
        {"bold italic underline", "<b><i><u>x</u></i></b>y", T::srt, "<b><i><u>x</u></i></b>y",
         "{\\b1}{\\i1}{\\u1}x{\\u0}{\\i0}{\\b0}y", "xy", "Xn"},
        {"empty span", "<b></b>a", T::srt, "<b></b>a", "{\\b1}{\\b0}a", "a", "n"},
        {"span over lines", "<i>one\ntwo</i>", T::srt, "<i>one\ntwo</i>", "{\\i1}one\ntwo{\\i0}",
         "one\ntwo", "iiiiiii"},
    };
    for (const auto& c : cases) {
        const SSSubtitleDialog dialog(c.text, c.type);
        EXPECT_EQ(dialog.originalText(), c.text) << c.name;
        EXPECT_EQ(dialog.originalSubtitleType(), c.type) << c.name;
        EXPECT_EQ(dialog.plainTextSRT(), c.srt) << c.name;
        EXPECT_EQ(dialog.plainTextASS(), c.ass) << c.name;
        EXPECT_EQ(dialog.formattedText()->string(), c.display) << c.name;
        EXPECT_EQ(lookOf(*dialog.formattedText()), c.look) << c.name;
        EXPECT_EQ(dialog.formattedText(), dialog.formattedTextSelected()) << c.name;
        const auto first = dialog.formattedText()->attributesAt(0);
        if (!c.display.isEmpty()) {
            EXPECT_EQ(first.alignment, platform::TextAlignment::center) << c.name;
            EXPECT_EQ(first.font->pointSize, 14.0) << c.name;
        }
    }
}

TEST_F(SSSubtitleDialogTest, UpdateAcceptsEitherMarkerAndColoursOverridesForSrt) {
    SSSubtitleDialog dialog("{\\an8}Top", subtitleTypes::srt);
    dialog.updateForNewPlainText(subtitleTypes::srt);
    EXPECT_EQ(dialog.plainTextASS(), "{\\an8}Top");
    EXPECT_EQ(lookOf(*dialog.formattedText()), "eeeeeennn");

    dialog.setPlainTextSRT("<b>Hello</i>");
    dialog.updateForNewPlainText(subtitleTypes::srt);
    EXPECT_EQ(dialog.formattedText()->string(), "<b>Hello</i>");
    EXPECT_EQ(dialog.plainTextASS(), "{\\b1}Hello{\\i0}");

    dialog.setPlainTextASS("{\\u1}ab{\\u0}c");
    dialog.updateForNewPlainText(subtitleTypes::ass);
    EXPECT_EQ(dialog.plainTextSRT(), "<u>ab</u>c");
    EXPECT_EQ(lookOf(*dialog.formattedText()), "NNn");
    EXPECT_EQ(dialog.originalText(), "{\\an8}Top");
}

TEST_F(SSSubtitleDialogTest, ConversionReplacesOnlyTheKnownTags) {
    using T = subtitleTypes;
    struct Case {
        T from, to;
        QString in, out;
    } cases[] = {
        {T::srt, T::ass, "<b>a</b><i>b</i><u>c</u>", "{\\b1}a{\\b0}{\\i1}b{\\i0}{\\u1}c{\\u0}"},
        {T::ass, T::srt, "{\\b1}a{\\b0}{\\i1}b{\\i0}{\\u1}c{\\u0}", "<b>a</b><i>b</i><u>c</u>"},
        {T::srt, T::ass, "<b>no closing", "<b>no closing"},
        {T::ass, T::srt, "{\\b1\\i1}x{\\b2}{\\an8}", "{\\b1\\i1}x{\\b2}{\\an8}"},
        {T::srt, T::ass, "<B>x</B>", "<B>x</B>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SSSubtitleDialog::convertTextFormattingFrom(c.from, c.to, c.in), c.out)
            << c.in.toStdString();
}

TEST_F(SSSubtitleDialogTest, ResetAndRemovalRebuildFromTheLoadedSyntax) {
    SSSubtitleDialog srt("<i>Hi</i>", subtitleTypes::srt);
    srt.setPlainTextSRT("edited");
    srt.updateForNewPlainText(subtitleTypes::srt);
    srt.resetToOriginal();
    EXPECT_EQ(srt.plainTextSRT(), "<i>Hi</i>");
    EXPECT_EQ(srt.plainTextASS(), "{\\i1}Hi{\\i0}");
    EXPECT_EQ(lookOf(*srt.formattedText()), "ii");

    SSSubtitleDialog ass("{\\an8}{\\b1}Top{\\b0}", subtitleTypes::ass);
    ass.removeTextFormatting();
    EXPECT_EQ(ass.plainTextSRT(), "Top");
    EXPECT_EQ(ass.plainTextASS(), "Top");
    EXPECT_EQ(lookOf(*ass.formattedText()), "nnn");
    EXPECT_EQ(ass.formattedText(), ass.formattedTextSelected());
    ass.resetToOriginal();
    EXPECT_EQ(ass.plainTextASS(), "{\\an8}{\\b1}Top{\\b0}");
    EXPECT_EQ(ass.plainTextSRT(), "{\\an8}<b>Top</b>");
}

TEST_F(SSSubtitleDialogTest, RemovalWithoutMarkupChangesNothing) {
    SSSubtitleDialog dialog("teh cat", subtitleTypes::srt);
    const auto display = dialog.formattedText();
    spelling.set(std::make_shared<StubSpellChecker>(QStringList{}));
    dialog.removeTextFormatting();
    EXPECT_EQ(dialog.formattedText(), display);
    EXPECT_FALSE(dialog.isSpelledCorrectly());  // no check ran
}

TEST_F(SSSubtitleDialogTest, SpellingFollowsTheTextAssignedLast) {
    SSSubtitleDialog dialog;
    dialog.setPlainTextSRT("teh");
    EXPECT_FALSE(dialog.isSpelledCorrectly());
    dialog.setPlainTextASS("the");
    EXPECT_TRUE(dialog.isSpelledCorrectly());
    dialog.setPlainTextASS("");
    EXPECT_TRUE(dialog.isSpelledCorrectly());
    // The same text checked again sees a change of checker.
    dialog.setPlainTextSRT("the");
    spelling.set(std::make_shared<StubSpellChecker>(QStringList{"the"}));
    dialog.setPlainTextSRT("the");
    EXPECT_FALSE(dialog.isSpelledCorrectly());
    // Construction ends with the ASS form.
    EXPECT_TRUE(SSSubtitleDialog("<b>x</b>", subtitleTypes::srt).isSpelledCorrectly());
}

TEST_F(SSSubtitleDialogTest, CopiesShareTheDisplayUntilRebuilt) {
    SSSubtitleDialog dialog("abc", subtitleTypes::srt);
    SSSubtitleDialog copy = dialog;
    copy.addFormatting(textFormatting::bold, {0, 1});
    EXPECT_EQ(lookOf(*dialog.formattedText()), "bnn");
    const auto old = dialog.formattedText();
    copy.updateForNewPlainText(subtitleTypes::srt);
    EXPECT_NE(copy.formattedText(), old);
    EXPECT_EQ(dialog.formattedText(), old);
}

TEST_F(SSSubtitleDialogTest, FaceAndUnderlineToggles) {
    struct Case {
        textFormatting kind;
        QString faceBefore;
        QString faceAfter;
    } cases[] = {
        {textFormatting::bold, "Helvetica", "Helvetica-Bold"},
        {textFormatting::bold, "Helvetica-Bold", "Helvetica"},
        {textFormatting::bold, "Helvetica-Oblique", "Helvetica-BoldOblique"},
        {textFormatting::bold, "Helvetica-BoldOblique", "Helvetica-Oblique"},
        {textFormatting::bold, "Times-Roman", "Helvetica"},
        {textFormatting::italic, "Helvetica", "Helvetica-Oblique"},
        {textFormatting::italic, "Helvetica-Bold", "Helvetica-BoldOblique"},
        {textFormatting::italic, "Helvetica-BoldOblique", "Helvetica-Bold"},
        {textFormatting::italic, "Helvetica-Oblique", "Helvetica"},
        {textFormatting::italic, "Courier", "Helvetica"},
    };
    for (const auto& c : cases) {
        SSSubtitleDialog dialog("ab", subtitleTypes::srt);
        dialog.formattedText()->setFont({0, 2}, {c.faceBefore, 30});
        dialog.addFormatting(c.kind, {0, 1});
        EXPECT_EQ(dialog.formattedText()->attributesAt(0).font,
                  (platform::TextFont{c.faceAfter, 14}))
            << c.faceBefore.toStdString();
        EXPECT_EQ(dialog.formattedText()->attributesAt(1).font->faceName, c.faceBefore);
    }
    SSSubtitleDialog dialog("abc", subtitleTypes::srt);
    auto text = dialog.formattedText();
    text->setUnderlineStyle({1, 1}, 1);
    text->setUnderlineStyle({2, 1}, 2);
    dialog.addFormatting(textFormatting::underline, {0, 3});
    EXPECT_EQ(text->attributesAt(0).underlineStyle, 1);
    EXPECT_EQ(text->attributesAt(1).underlineStyle, 0);
    EXPECT_EQ(text->attributesAt(2).underlineStyle, 0);
    dialog.addFormatting(textFormatting::bold, {1, 0});
    EXPECT_EQ(text->attributesAt(1).font->faceName, "Helvetica");
    dialog.addFormatting(textFormatting::assEffect, {1, 1});
    EXPECT_EQ(text->attributesAt(1).foregroundColor, platform::RGBAColor::blueColor());
    EXPECT_FALSE(text->attributesAt(0).foregroundColor);
    EXPECT_EQ(text->attributesAt(1).underlineStyle, 0);
}

TEST_F(SSSubtitleDialogTest, NonBmpCharacterTakesTwoPositions) {
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
    const SSSubtitleDialog dialog("<b>" + face + "</b>x", subtitleTypes::srt);
    EXPECT_EQ(lookOf(*dialog.formattedText()), "bbn");
}

TEST_F(SSSubtitleDialogTest, SwitchingBetweenSelectedAndUnselected) {
    SSSubtitleDialog dialog("{\\an8}{\\b1}Top{\\b0}", subtitleTypes::ass);
    const auto formatted = dialog.formattedText();
    dialog.switchDialogToSelected();
    EXPECT_EQ(dialog.formattedText(), formatted);

    dialog.switchDialogToUnselected();
    const auto grey = dialog.formattedText();
    EXPECT_EQ(grey, dialog.formattedTextUnselected());
    EXPECT_EQ(dialog.formattedTextSelected(), formatted);
    EXPECT_EQ(grey->string(), "{\\an8}Top");
    for (qsizetype p = 0; p < grey->length(); ++p) {
        const auto a = grey->attributesAt(p);
        EXPECT_EQ(a.font, (platform::TextFont{"Helvetica", 14}));
        EXPECT_EQ(a.foregroundColor, platform::RGBAColor::lightGrayColor());
        EXPECT_EQ(a.alignment, platform::TextAlignment::center);
        EXPECT_FALSE(a.underlineStyle);
    }
    // A second switch keeps the formatted text to return to.
    dialog.switchDialogToUnselected();
    EXPECT_EQ(dialog.formattedTextSelected(), formatted);
    dialog.switchDialogToSelected();
    EXPECT_EQ(dialog.formattedText(), formatted);

    dialog.switchDialogToUnselected();
    const auto greyAgain = dialog.formattedText();
    dialog.setPlainTextASS("x");
    dialog.updateForNewPlainText(subtitleTypes::ass);
    EXPECT_EQ(dialog.formattedText(), dialog.formattedTextSelected());
    EXPECT_EQ(lookOf(*dialog.formattedText()), "n");
    EXPECT_EQ(dialog.formattedTextUnselected(), greyAgain);

    SSSubtitleDialog empty("", subtitleTypes::srt);
    empty.switchDialogToUnselected();
    EXPECT_EQ(empty.formattedText()->length(), 0);
}
