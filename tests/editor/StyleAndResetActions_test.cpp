#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/TimeTexts.h"
#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"
#include "formatting/SCStyle.h"

using editortest::EditorTest;

namespace {

class StyleAndResetActions : public EditorTest {
  protected:
    // Lines of two-styles.ass: "Hello, world, with commas" (Default),
    // "First\NSecond" (Sign, Narrator), "{\i1}Last{\i0}" (Default).
    std::unique_ptr<SCViewControllerASS> assView() {
        return shownView<SCViewControllerASS>("two-styles.ass", subtitleTypes::ass);
    }
    static QPushButton titled(const QString& title) { return QPushButton(title); }
    static bool grey(const SCSubtitleLine& line) {
        return line.masterText().formattedText() == line.masterText().formattedTextUnselected();
    }
};

TEST_F(StyleAndResetActions, StyleCheckBoxesAndAllNoneIncludeAndExcludeLines) {
    auto view = assView();
    auto subtitle = view->viewSubtitle();
    const auto lines = subtitle->subtitleLinesArray();
    const auto styles = subtitle->subtitleStylesArray();
    auto* model = view->stylesTableController();
    ASSERT_EQ(lines.size(), 3);

    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);  // "Default" off
    EXPECT_FALSE(styles[0]->theState());
    EXPECT_TRUE(lines[0]->isExcluded());
    EXPECT_TRUE(grey(*lines[0]));
    EXPECT_FALSE(lines[1]->isExcluded());
    EXPECT_TRUE(lines[2]->isExcluded());
    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);  // twice: untouched
    model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_FALSE(lines[0]->isExcluded());
    EXPECT_FALSE(grey(*lines[0]));
    EXPECT_EQ(lines[0]->masterText().formattedText()->string(), "Hello, world, with commas");

    lines[1]->setStyle("Nowhere");  // a style the list lacks
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(lines[1]->isExcluded());

    for (const char* title : {"NONE", "", "All"}) {
        QPushButton button(title);
        view->allNoneStylesButton(&button);
        const bool all = QString(title) == "All";
        for (const auto& style : styles) EXPECT_EQ(style->theState(), all) << title;
        for (const auto& line : lines) EXPECT_EQ(line->isExcluded(), !all) << title;
        for (const auto& line : lines) EXPECT_EQ(grey(*line), !all) << title;
    }
    QPushButton lower("aLL");
    view->allNoneStylesButton(&lower);
    EXPECT_TRUE(styles[1]->theState());
}

TEST_F(StyleAndResetActions, CleaningStripsMarkupLineByLineOrAll) {
    auto view = assView();
    const auto lines = view->viewSubtitle()->subtitleLinesArray();
    view->cleanTextLineButton();  // no selection: nothing
    EXPECT_EQ(lines[2]->unformattedTextASS(), "{\\i1}Last{\\i0}");
    selectRows(*view, {2});
    view->cleanTextLineButton();
    EXPECT_EQ(lines[2]->unformattedTextASS(), "Last");
    EXPECT_EQ(lines[2]->unformattedTextSRT(), "Last");
    EXPECT_EQ(view->dialogTextView()->toPlainText(), "Last");

    lines[0]->setUnformattedTextASS("{\\pos(10,20)}<i>Hi</i>");
    lines[0]->setIsExcluded(true);
    view->cleanTextAllButton();
    EXPECT_EQ(lines[0]->unformattedTextASS(), "Hi");
    EXPECT_EQ(lines[1]->unformattedTextASS(), "First\nSecond");
}

struct ResetCase {
    const char* title;
    bool all;
    bool timesBack, dialogBack, styleBack;
};

TEST_F(StyleAndResetActions, ResetsGoByExactTitleForTheSelectedLineOrAll) {
    const ResetCase cases[] = {
        {"Reset Times", false, true, false, false},  {"Reset Dialog", false, false, true, false},
        {"Reset Style", false, false, false, true},  {"Reset Times", true, true, false, false},
        {"Reset Dialog", true, false, true, false},  {"Reset Style", true, false, false, true},
        {"reset times", false, false, false, false}, {"Other", true, false, false, false},
    };
    for (const ResetCase& c : cases) {
        SCOPED_TRACE(std::string(c.title) + (c.all ? " all" : " line"));
        auto view = assView();
        const auto lines = view->viewSubtitle()->subtitleLinesArray();
        for (const auto& line : lines) {
            line->setUserStartTimeDouble(line->userStartTimeDouble() + 100);
            line->setUnformattedTextASS("changed");
            line->setStyle("Sign");
        }
        selectRows(*view, {2});
        QPushButton button(c.title);
        if (c.all)
            view->resetAllButtons(&button);
        else
            view->resetLineButtons(&button);
        for (int row = 0; row < lines.size(); ++row) {
            const bool reset = c.all || row == 2;
            EXPECT_EQ(lines[row]->userStartTimeDouble() < 100, reset && c.timesBack) << row;
            EXPECT_EQ(lines[row]->unformattedTextASS() != "changed", reset && c.dialogBack) << row;
            EXPECT_EQ(lines[row]->Style() != "Sign" || row == 1, (reset && c.styleBack) || row == 1)
                << row;
        }
        if (c.dialogBack && !c.all) {
            EXPECT_EQ(view->dialogText(), "{\\i1}Last{\\i0}");
        }
    }
    auto view = assView();
    QPushButton times("Reset Times");
    view->resetLineButtons(&times);  // no selection: nothing, no crash
}

TEST_F(StyleAndResetActions, ResetStyleFollowsTheStylesStateOnlyOnAMismatch) {
    struct Case {
        bool styleOn, excluded;
        bool expected;
        int writes;
    };
    for (const Case& c : {Case{true, true, false, 1}, Case{false, false, true, 1},
                          Case{true, false, false, 0}, Case{false, true, true, 0}}) {
        auto view = assView();
        const auto line = view->viewSubtitle()->subtitleLinesArray()[0];  // "Default"
        view->viewSubtitle()->subtitleStylesArray()[0]->setTheState(c.styleOn);
        line->setIsExcluded(c.excluded);
        const auto display = line->masterText().formattedText();
        int writes = 0;
        QObject::connect(line.get(), &SCSubtitleLine::isExcludedChanged, [&] { ++writes; });
        selectRows(*view, {0});
        QPushButton button("Reset Style");
        view->resetLineButtons(&button);
        EXPECT_EQ(line->isExcluded(), c.expected);
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(line->masterText().formattedText(), display);  // display not switched
    }
}

TEST_F(StyleAndResetActions, ShiftAndStretchTakeTheViewsOwnFormAndDirection) {
    struct Case {
        bool srt;
        const char* srtAmount;
        const char* assAmount;
        const char* direction;
        bool stretch;
        double firstStart;  // two-styles.ass's first line starts at 1 s, last ends at 12 s
    };
    const Case cases[] = {
        {true, "00:00:02,000", "0:00:09.00", "Forward", false, 3.0},
        {false, "00:00:09,000", "0:00:02.00", "Forward", false, 3.0},
        {true, "00:00:00,500", "0:00:00.00", "Backward", false, 0.5},
        {true, "00:00:02,000", "", "backward", false, 3.0},
        {true, "00:00:05,000", "", "Backward", false, 1.0},  // would go below 0: nothing
        {true, "00:00:12,000", "", "Forward", true, 2.0},    // factor 2
        {true, "00:00:12,000", "", "Backward", true, 1.0},   // factor 0: nothing
        {true, "nonsense", "", "Forward", false, 1.0},       // no time: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.srtAmount) + " " + c.direction);
        std::unique_ptr<SCMainViewController> view;
        if (c.srt)
            view = shownView<SCViewControllerSRT>("two-styles.ass", subtitleTypes::ass);
        else
            view = assView();
        const auto lines = view->viewSubtitle()->subtitleLinesArray();
        lines[0]->setTimeConflict("marker");
        view->setTimeAdjustTextSRT(c.srtAmount);
        view->setTimeAdjustTextASS(c.assAmount);
        view->setTimeAdjustDirection(c.direction);
        if (c.stretch)
            view->timeStretchButton();
        else
            view->timeShiftButton();
        EXPECT_DOUBLE_EQ(lines[0]->userStartTimeDouble(), c.firstStart);
        EXPECT_EQ(lines[0]->timeConflict(), "marker");  // no conflict search
        EXPECT_EQ(view->subtitleTableController()
                      ->index(0, SubtitleLinesTableModel::startColumn)
                      .data()
                      .toString(),
                  c.srt ? srtTimeStringFromDoubleTime(c.firstStart)
                        : assTimeStringFromDoubleTime(c.firstStart));
    }
}

TEST_F(StyleAndResetActions, AssResetsActOnTheFirstSelectedStyleOnly) {
    auto view = assView();
    const auto styles = view->viewSubtitle()->subtitleStylesArray();
    auto change = [&] {
        for (const auto& style : styles) {
            style->setPrimaryColorNSColor(platform::RGBAColor::deviceRGB(0.1, 0.2, 0.3));
            style->setOutline(9);
            style->setShadow(9);
            style->setFontname("Changed");
            style->setFontsize(99);
        }
    };
    change();
    view->resetColorsButton();  // no style selected: nothing
    view->resetFontButton();
    EXPECT_EQ(styles[0]->Fontname(), "Changed");

    view->stylesTable()->selectAll();
    view->resetColorsButton();
    EXPECT_EQ(styles[0]->primaryColorNSColor(), platform::RGBAColor::deviceRGB(1, 1, 1));
    EXPECT_EQ(styles[0]->Outline(), 2);
    EXPECT_EQ(styles[0]->Shadow(), 1);
    EXPECT_EQ(styles[0]->Fontname(), "Changed");  // the font stays
    EXPECT_EQ(styles[1]->Outline(), 9);           // only the first
    view->resetColorsButton();                    // twice: the same
    EXPECT_EQ(styles[0]->Outline(), 2);

    view->resetFontButton();
    EXPECT_EQ(styles[0]->Fontname(), "Arial");
    EXPECT_EQ(styles[0]->Fontsize(), 30);
    EXPECT_EQ(styles[1]->Fontname(), "Changed");
    view->assTestButton();
}

// A style line has no escape for a comma: the font field refuses one, typed
// or pasted, with the beep, and keeps its text; the rest is typed as usual.
TEST_F(StyleAndResetActions, TheFontFieldRefusesACommaWithTheBeep) {
    auto view = assView();
    view->stylesTable()->selectRow(1);
    const SCStylePtr sign = view->viewSubtitle()->subtitleStylesArray()[1];
    auto* font = view->view()->findChild<QComboBox*>("fontPopUp");
    QLineEdit* field = font->lineEdit();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "Arial");
    EXPECT_EQ(beeps, 0);
    QTest::keyClicks(field, ",");
    EXPECT_EQ(field->text(), "Arial");
    EXPECT_EQ(beeps, 1);
    QTest::keyClicks(field, " Bold");
    QGuiApplication::clipboard()->setText(", Italic");
    QTest::keySequence(field, QKeySequence::Paste);
    EXPECT_EQ(field->text(), "Arial Bold");
    EXPECT_EQ(beeps, 2);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(sign->Fontname(), "Arial Bold");
}

}  // namespace
