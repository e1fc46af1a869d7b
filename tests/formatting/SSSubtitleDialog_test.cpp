#include "formatting/SSSubtitleDialog.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        {"ass without closing", "{\\b1}Hello", T::ass, "<b>Hello</b>", "{\\b1}Hello", "{\\b1}Hello",
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
        {T::srt, T::ass, "<B>x</B>", "<B>x</B>"},
        {T::srt, T::ass, "{\\pos(1,2)}<b>x</b>", "{\\pos(1,2)}{\\b1}x{\\b0}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SSSubtitleDialog::convertTextFormattingFrom(c.from, c.to, c.in), c.out)
            << c.in.toStdString();
}

// From ASS to SRT a bold, italic or underline switch becomes its tag wherever
// it stands in an override block; the block keeps its other codes, and the
// tags written pair up and nest.
TEST_F(SSSubtitleDialogTest, AssSwitchesAmongOtherCodesBecomeBalancedSrtTags) {
    struct Case {
        const char* what;
        QString ass, srt;
    } cases[] = {
        {"opening among other codes", "{\\pos(960,100)\\b1}A SIGN ON THE WALL{\\b0}",
         "{\\pos(960,100)}<b>A SIGN ON THE WALL</b>"},
        {"closing among other codes", "{\\i1}a{\\i0\\an8}b", "<i>a{\\an8}</i>b"},
        {"two in one block", "{\\b1\\i1}x{\\i0\\b0}y", "<b><i>x</i></b>y"},
        {"closed in the order opened", "{\\b1\\i1}x{\\b0\\i0}", "<b><i>x</i></b>"},
        {"crossing kinds nest", "{\\b1}a{\\i1}b{\\b0}c{\\i0}d", "<b>a<i>b</i></b><i>c</i>d"},
        {"open at the end is closed", "{\\u1}Hello", "<u>Hello</u>"},
        {"a switch that changes nothing", "{\\b0}a{\\i1}b{\\i1}c{\\i0}{\\i0}", "a<i>bc</i>"},
        {"paused and switched off", "{\\b1\\i1}a{\\b0\\i0\\b1}b", "<b><i>a</i></b><b>b</b>"},
        {"other codes stay", "{\\b1\\i1}x{\\b2}{\\an8}", "<b><i>x{\\b2}{\\an8}</i></b>"},
        {"codes that only begin like switches",
         "{\\be1\\bord2\\b700\\iclip(0,0,9,9)\\blur1\\B1\\b}x",
         "{\\be1\\bord2\\b700\\iclip(0,0,9,9)\\blur1\\B1\\b}x"},
        {"a switch inside a transform", "{\\t(0,500,\\b1)\\i1}x", "{\\t(0,500,\\b1)}<i>x</i>"},
        {"comments and unclosed blocks are text", "{note}{\\u1}a {\\x", "{note}<u>a {\\x</u>"},
        {"over two lines", "{\\fad(200,200)\\i1}one\ntwo{\\i0}", "{\\fad(200,200)}<i>one\ntwo</i>"},
        {"no switch, byte for byte", "{\\an8}{\\pos(1,2)}x {\\c&H00FF00&}y",
         "{\\an8}{\\pos(1,2)}x {\\c&H00FF00&}y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SSSubtitleDialog::convertTextFormattingFrom(subtitleTypes::ass,
                                                              subtitleTypes::srt, c.ass),
                  c.srt);
        EXPECT_EQ(SSSubtitleDialog(c.ass, subtitleTypes::ass).plainTextSRT(), c.srt);
    }
}

// Every sequence of up to four switches, each followed by a letter: at every
// letter the SRT tags open are the kinds the ASS switches left on, and every
// tag written is closed, innermost first.
TEST_F(SSSubtitleDialogTest, AssSwitchesGiveSrtTagsThatStyleEveryLetterAlike) {
    const QString codes[] = {"b0", "b1", "i0", "i1", "u0", "u1"};
    const QString srtLetters = "biu";
    for (int length = 1; length <= 4; ++length) {
        int total = 1;
        for (int k = 0; k < length; ++k) total *= 6;
        for (int n = 0; n < total; ++n) {
            QString ass;
            QStringList expected;  // kinds on at each letter, as "biu" letters
            QString on;
            for (int k = 0, rest = n; k < length; ++k, rest /= 6) {
                const QString& code = codes[rest % 6];
                // Two codes in one block every other step.
                ass += k % 2 ? "{\\an8\\" + code + "}" : "{\\" + code + "}";
                if (code[1] == u'1' && !on.contains(code[0])) on += code[0];
                if (code[1] == u'0') on.remove(code[0]);
                ass += QChar(u'a' + k);
                QString sorted = on;
                std::sort(sorted.begin(), sorted.end());
                expected.append(sorted);
            }
            const QString srt = SSSubtitleDialog::convertTextFormattingFrom(
                subtitleTypes::ass, subtitleTypes::srt, ass);
            SCOPED_TRACE(ass.toStdString() + " -> " + srt.toStdString());
            QString open;  // tags open, innermost last
            QStringList seen;
            for (qsizetype i = 0; i < srt.size(); ++i) {
                if (srt[i] == u'<') {
                    const bool closing = srt[i + 1] == u'/';
                    const QChar kind = srt[closing ? i + 2 : i + 1];
                    ASSERT_TRUE(srtLetters.contains(kind));
                    if (closing) {
                        ASSERT_FALSE(open.isEmpty());
                        ASSERT_EQ(open.back(), kind);
                        open.chop(1);
                    } else {
                        ASSERT_FALSE(open.contains(kind));
                        open += kind;
                    }
                    i = srt.indexOf(u'>', i);
                } else if (srt[i] == u'{') {
                    i = srt.indexOf(u'}', i);
                } else {
                    QString sorted = open;
                    std::sort(sorted.begin(), sorted.end());
                    seen.append(sorted);
                }
            }
            EXPECT_TRUE(open.isEmpty());
            EXPECT_EQ(seen, expected);
        }
    }
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
