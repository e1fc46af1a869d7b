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
        {"paused and switched off", "{\\b1\\i1}a{\\b0\\i0\\b1}b", "<b><i>a</i>b</b>"},
        {"other codes stay", "{\\b1\\i1}x{\\b2}{\\an8}", "<b><i>x{\\b2}{\\an8}</i></b>"},
        {"codes that only begin like switches",
         "{\\be1\\bord2\\b700\\iclip(0,0,9,9)\\blur1\\B1\\b}x",
         "{\\be1\\bord2\\b700\\iclip(0,0,9,9)\\blur1\\B1\\b}x"},
        {"a switch inside a transform", "{\\t(0,500,\\b1)\\i1}x", "{\\t(0,500,\\b1)}<i>x</i>"},
        {"comments and unclosed blocks are text", "{note}{\\u1}a {\\x", "{note}<u>a {\\x</u>"},
        {"over two lines", "{\\fad(200,200)\\i1}one\ntwo{\\i0}", "{\\fad(200,200)}<i>one\ntwo</i>"},
        {"no switch, byte for byte", "{\\an8}{\\pos(1,2)}x {\\c&H00FF00&}y",
         "{\\an8}{\\pos(1,2)}x {\\c&H00FF00&}y"},
        // Resets, valueless codes and weights stay in their block and end or
        // begin the tags as a renderer would draw the letters.
        {"a reset ends every tag", "{\\b1\\i1}Hello{\\r} world", "<b><i>Hello{\\r}</i></b> world"},
        {"a reset to a style too", "{\\u1}a{\\rSign\\i1}b", "<u>a{\\rSign}</u><i>b</i>"},
        {"a valueless code ends its kind", "{\\i1\\b1}Hello{\\i} world",
         "<i><b>Hello{\\i}</b></i><b> world</b>"},
        {"a weight below 600 ends bold", "{\\b1}Bold{\\b400} normal", "<b>Bold{\\b400}</b> normal"},
        {"a weight from 600 begins it", "{\\b600}a{\\b599}b{\\b900}c",
         "{\\b600}<b>a{\\b599}</b>b{\\b900}<b>c</b>"},
        {"nothing on after the last letter", "Hello{\\i1}", "Hello"},
        {"off and on again between letters", "{\\i1}x{\\i0\\i1}y", "<i>xy</i>"},
        {"text before the first code", "{note\\b1}a", "{note}<b>a</b>"},
        {"a dropped block joins no new code", "x{{\\i0}\\an8}y", "x{{}\\an8}y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SSSubtitleDialog::convertTextFormattingFrom(subtitleTypes::ass,
                                                              subtitleTypes::srt, c.ass)
                      .toStdString(),
                  c.srt.toStdString());
        EXPECT_EQ(SSSubtitleDialog(c.ass, subtitleTypes::ass).plainTextSRT().toStdString(),
                  c.srt.toStdString());
    }
}

namespace {

// Bold, italic and underline as bits, and the names of their sets.
constexpr int B = 1, I = 2, U = 4;
const char* const kindNames[] = {"", "b", "i", "bi", "u", "bu", "iu", "biu"};

int kindBit(QChar letter) {
    return letter == u'b' ? B : letter == u'i' ? I : letter == u'u' ? U : 0;
}

// An SRT text read as a player reads it: the kinds its tags have on at each
// letter, and the text without its tags; a fault when a tag is not paired,
// nested or filled with a letter.
struct SrtReading {
    std::string kindsAtLetters;  // each letter's kinds and a ","
    QString withoutTags;
    std::string fault;
};

SrtReading readSrt(const QString& srt) {
    SrtReading reading;
    reading.withoutTags.reserve(srt.size());
    int open[3];     // the tags open, innermost last
    bool filled[3];  // whether each holds a letter yet
    int depth = 0;
    int on = 0;
    const auto fail = [&](const char* fault) {
        reading.fault = fault;
        return reading;
    };
    for (qsizetype i = 0; i < srt.size(); ++i) {
        if (srt[i] == u'<') {
            const bool closing = i + 1 < srt.size() && srt[i + 1] == u'/';
            const qsizetype end = srt.indexOf(u'>', i);
            const int kind = end == i + (closing ? 3 : 2) ? kindBit(srt[end - 1]) : 0;
            if (kind == 0) return fail("a tag other than b, i, u");
            if (closing) {
                if (depth == 0 || open[depth - 1] != kind) return fail("a tag closed out of turn");
                if (!filled[depth - 1]) return fail("a tag pair without a letter");
                --depth;
                on &= ~kind;
            } else {
                if (on & kind) return fail("a tag opened twice");
                open[depth] = kind;
                filled[depth++] = false;
                on |= kind;
            }
            i = end;
        } else if (srt[i] == u'{') {
            const qsizetype end = srt.indexOf(u'}', i);
            if (end < 0) return fail("a block without its end");
            reading.withoutTags += QStringView(srt).mid(i, end + 1 - i);
            i = end;
        } else {
            reading.withoutTags += srt[i];
            std::fill(filled, filled + depth, true);
            reading.kindsAtLetters += kindNames[on];
            reading.kindsAtLetters += ',';
        }
    }
    if (depth > 0) return fail("a tag left open");
    return reading;
}

// One code of an ASS override block and what a renderer makes of it.
struct AssCode {
    QString text;
    int on;      // the kinds it turns on
    int off;     // the kinds it turns off
    bool isTag;  // leaves its block to become an SRT tag
};

// An ASS line built code by code, with what its SRT form must read as.
struct AssLine {
    QString ass;
    SrtReading expected;
    int on = 0;
    QString block, kept;  // the block being written, and what stays of it
    bool inBlock = false;

    void closeBlock() {
        if (!inBlock) return;
        ass += u'{' + block + u'}';
        if (!kept.isEmpty()) expected.withoutTags += u'{' + kept + u'}';
        inBlock = false;
    }
    void openBlock(const QString& start) {
        closeBlock();
        block = kept = start;
        inBlock = true;
    }
    void add(const AssCode& code) {
        block += code.text;
        if (!code.isTag) kept += code.text;
        on = (on & ~code.off) | code.on;
    }
    void letter(QChar c) {
        closeBlock();
        ass += c;
        expected.withoutTags += c;
        expected.kindsAtLetters += kindNames[on];
        expected.kindsAtLetters += ',';
    }
};

}  // namespace

// Every sequence of up to four codes, laid out three ways: a block and a
// letter for each code; a letter first and then after every second code only,
// so blocks follow each other and the last may have no letter after it; two
// codes to a block. Sequences of four take the three in turn, which keeps the
// lines read to some 36 000. Blocks hold the code alone, after another code,
// after text, or after a second "{". At every letter the SRT tags open are
// the kinds the ASS codes left on, and every tag written holds a letter and
// is closed, innermost first; without its tags the SRT text is the ASS text
// with only the 0/1 switches taken out of their blocks, and the blocks left
// empty gone.
TEST_F(SSSubtitleDialogTest, AssSwitchesGiveSrtTagsThatStyleEveryLetterAlike) {
    const AssCode codes[] = {
        {"\\b0", 0, B, true},
        {"\\b1", B, 0, true},
        {"\\i0", 0, I, true},
        {"\\i1", I, 0, true},
        {"\\u0", 0, U, true},
        {"\\u1", U, 0, true},
        {"\\b", 0, B, false},
        {"\\i", 0, I, false},
        {"\\u", 0, U, false},
        {"\\b400", 0, B, false},
        {"\\b700", B, 0, false},
        {"\\r", 0, B | I | U, false},
        {"\\rSign", 0, B | I | U, false},
    };
    const int count = static_cast<int>(std::size(codes));
    const QString blockStarts[] = {"", "\\an8", "note", "{"};
    for (int length = 1; length <= 4; ++length) {
        int total = 1;
        for (int k = 0; k < length; ++k) total *= count;
        for (int n = 0; n < total; ++n) {
            for (int layout = 0; layout < 3; ++layout) {
                if (length == 4 && layout != n % 3) continue;
                AssLine line;
                if (layout == 1) line.letter(u'z');
                for (int k = 0, rest = n, blocks = 0; k < length; ++k, rest /= count) {
                    if (layout != 2 || k % 2 == 0)
                        line.openBlock(blockStarts[(blocks++ + layout) % 4]);
                    line.add(codes[rest % count]);
                    if (layout == 0 || k % 2 == 1 || (layout == 2 && k == length - 1))
                        line.letter(QChar(u'a' + k));
                }
                line.closeBlock();
                const QString srt = SSSubtitleDialog::convertTextFormattingFrom(
                    subtitleTypes::ass, subtitleTypes::srt, line.ass);
                const SrtReading read = readSrt(srt);
                // The line is named only when it fails.
                const auto trace = [&] { return (line.ass + " -> " + srt).toStdString(); };
                ASSERT_EQ(read.fault, "") << trace();
                ASSERT_EQ(read.kindsAtLetters, line.expected.kindsAtLetters) << trace();
                ASSERT_EQ(read.withoutTags.toStdString(), line.expected.withoutTags.toStdString())
                    << trace();
            }
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
