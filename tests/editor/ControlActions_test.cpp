#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <map>

#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"
#include "formatting/SCStyle.h"

using editortest::EditorTest;

namespace {

// What one click must have done; run right after it.
using Check = std::function<void()>;

// One control of a layout: how the view is prepared for it, and what a
// single click shows. Each effect is chosen so that no click and a second
// click both look different: a control connected twice or not at all fails.
struct ControlCase {
    const char* control;  // its object name
    std::function<Check(SCMainViewController& view)> arrange;
};

// The lines the two views show: twelve.srt in the SRT view ("one", "two",
// "<i>three</i>", "four"…, rows 1 and 2, 6 and 7 overlapping; the last ends
// at 24 s), two-styles.ass in the ASS view ("Hello, world, with commas"
// (Default), "First\NSecond" (Sign), "{\i1}Last{\i0}" (Default); the first
// starts at 1 s, the last ends at 12 s).
class ControlActions : public EditorTest {
  protected:
    std::unique_ptr<SCMainViewController> srtView() {
        auto view = makeView<SCViewControllerSRT>();
        documenttest::load(
            view->viewSubtitle(),
            QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor/twelve.srt")),
            subtitleTypes::srt);
        host.show(view->view());
        testsupport::drainMainQueue();
        return view;
    }
    std::unique_ptr<SCMainViewController> assView() {
        return shownView<SCViewControllerASS>("two-styles.ass", subtitleTypes::ass);
    }
};

QList<QMessageBox*> shownSheets() {
    QList<QMessageBox*> sheets;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
            sheets.append(box);
    return sheets;
}

SCSubtitleLineList linesOf(const SCMainViewController& view) {
    return view.viewSubtitle()->subtitleLinesArray();
}

QString textOf(const SCMainViewController& view, const SCSubtitleLine& line) {
    return view.isSRTView() ? line.unformattedTextSRT() : line.unformattedTextASS();
}

// What the lines table shows in a cell.
QString cell(const SCMainViewController& view, int row, int column) {
    return view.subtitleTableController()->index(row, column).data().toString();
}

template <typename T>
T* child(const SCMainViewController& view, const char* name) {
    auto* found = view.imageSubPopover()->findChild<T*>(name);
    return found ? found : const_cast<SCMainViewController&>(view).view()->findChild<T*>(name);
}

// Every redraw request of the lines table: each line action ends in one.
std::shared_ptr<QSignalSpy> redraws(const SCMainViewController& view) {
    return std::make_shared<QSignalSpy>(view.subtitleTableController(),
                                        &QAbstractItemModel::dataChanged);
}

Check selectsRow(SCMainViewController& view, int from, int expected) {
    view.selectOnlyRow(from, false);
    return [&view, expected] { EXPECT_EQ(view.selectedRow(), expected); };
}

// The picture popover, shown by its own button.
void showPopover(SCMainViewController& view) {
    view.viewSubtitle()->setIsImageBased(true);
    QTest::mouseClick(child<QAbstractButton>(view, "imageSubButton"), Qt::LeftButton);
    ASSERT_TRUE(view.imageSubPopover()->isShown());
}

Check marksTheEditorsText(SCMainViewController& view, const QString& srt, const QString& ass) {
    view.selectOnlyRow(0, false);
    QPlainTextEdit* editor = view.dialogTextView();
    editor->setFocus();
    editor->selectAll();
    return [&view, srt, ass] {
        EXPECT_EQ(view.dialogTextView()->toPlainText(), view.isSRTView() ? srt : ass);
    };
}

// Every line moved by 100 s, its text and its style changed.
void changeEveryLine(SCMainViewController& view) {
    for (const auto& line : linesOf(view)) {
        line->setUserStartTimeDouble(line->userStartTimeDouble() + 100);
        if (view.isSRTView())
            line->setUnformattedTextSRT("changed");
        else
            line->setUnformattedTextASS("changed");
        line->setStyle("Changed");
    }
}

// After a reset of row `only` (every row: -1): which of the three came back.
Check resets(SCMainViewController& view, int only, bool times, bool dialog, bool style) {
    QStringList styles;
    for (const auto& line : linesOf(view)) styles.append(line->Style());
    changeEveryLine(view);
    if (only >= 0) view.selectOnlyRow(only, false);
    auto spy = redraws(view);
    return [&view, only, times, dialog, style, styles, spy] {
        const SCSubtitleLineList lines = linesOf(view);
        for (int row = 0; row < lines.size(); ++row) {
            SCOPED_TRACE(row);
            const bool reset = only < 0 || row == only;
            EXPECT_EQ(lines[row]->userStartTimeDouble() < 100, reset && times);
            EXPECT_EQ(textOf(view, *lines[row]) != "changed", reset && dialog);
            EXPECT_EQ(lines[row]->Style() == styles[row], reset && style);
        }
        EXPECT_EQ(spy->count(), 1);
    };
}

const ControlCase kCases[] = {
    {"cycleEncodingsButton",
     [](SCMainViewController&) -> Check {
         // A valid document asks first: one question.
         return [] { EXPECT_EQ(shownSheets().size(), 1); };
     }},
    {"imageSubButton",
     [](SCMainViewController& view) -> Check {
         view.viewSubtitle()->setIsImageBased(true);
         return [&view] { EXPECT_TRUE(view.imageSubPopover()->isShown()); };
     }},
    {"zoomButton",
     [](SCMainViewController& view) -> Check {
         showPopover(view);
         return [&view] {
             EXPECT_FALSE(view.imageSubViewIsZoomedIn());
             EXPECT_EQ(view.imageSubImageview()->size(), QSize(352, 198));
         };
     }},
    {"closeButton",
     [](SCMainViewController& view) -> Check {
         // Closing a closed popover shows nothing more: a second run of
         // this one cannot be seen.
         showPopover(view);
         return [&view] { EXPECT_FALSE(view.imageSubPopover()->isShown()); };
     }},
    {"previousLineButton", [](SCMainViewController& view) { return selectsRow(view, 2, 1); }},
    {"nextLineButton", [](SCMainViewController& view) { return selectsRow(view, 0, 1); }},
    {"previousConflictButton", [](SCMainViewController& view) { return selectsRow(view, 11, 7); }},
    {"nextConflictButton", [](SCMainViewController& view) { return selectsRow(view, 0, 1); }},
    {"fixConflictsButton",
     [](SCMainViewController& view) -> Check {
         EXPECT_EQ(cell(view, 2, SubtitleLinesTableModel::conflictColumn), "Start Overlap");
         auto spy = redraws(view);
         return [&view, spy] {
             for (int row = 0; row < 12; ++row)
                 EXPECT_EQ(cell(view, row, SubtitleLinesTableModel::conflictColumn), "") << row;
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"testButton",
     [](SCMainViewController& view) -> Check {
         // It draws the table again.
         auto spy = redraws(view);
         return [spy] { EXPECT_EQ(spy->count(), 1); };
     }},
    {"assTestButton",
     [](SCMainViewController& view) -> Check {
         // It does nothing a user could see, so neither can its runs be
         // counted; the click changes nothing.
         auto spy = redraws(view);
         view.selectOnlyRow(1, false);
         return [&view, spy] {
             EXPECT_EQ(spy->count(), 0);
             EXPECT_EQ(view.selectedRow(), 1);
             EXPECT_TRUE(shownSheets().isEmpty());
         };
     }},
    {"boldButton",
     [](SCMainViewController& view) {
         return marksTheEditorsText(view, "<b>one</b>", "{\\b1}Hello, world, with commas{\\b0}");
     }},
    {"italicButton",
     [](SCMainViewController& view) {
         return marksTheEditorsText(view, "<i>one</i>", "{\\i1}Hello, world, with commas{\\i0}");
     }},
    {"underlineButton",
     [](SCMainViewController& view) {
         return marksTheEditorsText(view, "<u>one</u>", "{\\u1}Hello, world, with commas{\\u0}");
     }},
    {"allStylesButton",
     [](SCMainViewController& view) -> Check {
         for (const auto& line : linesOf(view)) line->setIsExcluded(true);
         auto spy = redraws(view);
         return [&view, spy] {
             for (const auto& line : linesOf(view)) EXPECT_FALSE(line->isExcluded());
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"noStylesButton",
     [](SCMainViewController& view) -> Check {
         auto spy = redraws(view);
         return [&view, spy] {
             for (const auto& line : linesOf(view)) EXPECT_TRUE(line->isExcluded());
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"cleanLineButton",
     [](SCMainViewController& view) -> Check {
         view.selectOnlyRow(2, false);
         auto spy = redraws(view);
         return [&view, spy] {
             EXPECT_EQ(textOf(view, *linesOf(view)[2]), view.isSRTView() ? "three" : "Last");
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"cleanAllButton",
     [](SCMainViewController& view) -> Check {
         auto spy = redraws(view);
         return [&view, spy] {
             for (const auto& line : linesOf(view)) {
                 EXPECT_FALSE(textOf(view, *line).contains('<'));
                 EXPECT_FALSE(textOf(view, *line).contains('{'));
             }
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"resetLineTimesButton",
     [](SCMainViewController& view) { return resets(view, 2, true, false, false); }},
    {"resetLineDialogButton",
     [](SCMainViewController& view) { return resets(view, 2, false, true, false); }},
    {"resetLineStyleButton",
     [](SCMainViewController& view) { return resets(view, 2, false, false, true); }},
    {"resetAllTimesButton",
     [](SCMainViewController& view) { return resets(view, -1, true, false, false); }},
    {"resetAllDialogButton",
     [](SCMainViewController& view) { return resets(view, -1, false, true, false); }},
    {"resetAllStyleButton",
     [](SCMainViewController& view) { return resets(view, -1, false, false, true); }},
    {"timeShiftButton",
     [](SCMainViewController& view) -> Check {
         view.setTimeAdjustTextSRT("00:00:01,000");
         view.setTimeAdjustTextASS("0:00:01.00");
         return [&view] {
             EXPECT_EQ(cell(view, 0, SubtitleLinesTableModel::startColumn),
                       view.isSRTView() ? "00:00:02,000" : "0:00:02.00");
         };
     }},
    {"timeStretchButton",
     [](SCMainViewController& view) -> Check {
         // By the last end: twice as long.
         view.setTimeAdjustTextSRT("00:00:24,000");
         view.setTimeAdjustTextASS("0:00:12.00");
         return [&view] {
             EXPECT_EQ(cell(view, 0, SubtitleLinesTableModel::startColumn),
                       view.isSRTView() ? "00:00:02,000" : "0:00:02.00");
         };
     }},
    {"resetColorsButton",
     [](SCMainViewController& view) -> Check {
         view.stylesTable()->selectRow(0);
         const SCStylePtr style = view.viewSubtitle()->subtitleStylesArray()[0];
         style->setOutline(9);
         auto spy = std::make_shared<QSignalSpy>(style.get(), &SCStyle::OutlineChanged);
         return [&view, spy] {
             EXPECT_EQ(child<QDoubleSpinBox>(view, "outlineField")->value(), 2.0);
             EXPECT_EQ(spy->count(), 1);
         };
     }},
    {"resetFontButton",
     [](SCMainViewController& view) -> Check {
         view.stylesTable()->selectRow(0);
         const SCStylePtr style = view.viewSubtitle()->subtitleStylesArray()[0];
         style->setFontname("DejaVu Sans");
         auto spy = std::make_shared<QSignalSpy>(style.get(), &SCStyle::FontnameChanged);
         return [&view, spy] {
             EXPECT_EQ(child<QComboBox>(view, "fontPopUp")->currentText(), "Arial");
             EXPECT_EQ(spy->count(), 1);
         };
     }},
};

// Every control of both layouts that names an action, the popover's
// included, clicked once where the user sees it, does its action's work
// once: the click reaches the action under the control's own title.
TEST_F(ControlActions, EachControlsClickDoesItsActionOnce) {
    std::map<QString, const ControlCase*> cases;
    for (const ControlCase& c : kCases) cases[c.control] = &c;
    for (bool srt : {true, false}) {
        const char* layout = srt ? "ViewSRT " : "ViewASS ";
        // The controls of a fresh view, each with its action.
        QStringList controls;
        {
            auto view = srt ? srtView() : assView();
            QList<QAbstractButton*> buttons = view->view()->findChildren<QAbstractButton*>();
            buttons += view->imageSubPopover()->findChildren<QAbstractButton*>();
            for (QAbstractButton* button : buttons)
                if (!button->property("action").toString().isEmpty())
                    controls.append(button->objectName());
        }
        ASSERT_GE(controls.size(), 20) << layout;
        for (const QString& name : controls) {
            SCOPED_TRACE(layout + name.toStdString());
            ASSERT_TRUE(cases.count(name)) << "no case for the control";
            auto view = srt ? srtView() : assView();
            const Check check = cases[name]->arrange(*view);
            auto* control = child<QAbstractButton>(*view, name.toLatin1().constData());
            ASSERT_TRUE(control->isEnabled());
            QSignalSpy clicked(control, &QAbstractButton::clicked);
            QTest::mouseClick(control, Qt::LeftButton);
            ASSERT_EQ(clicked.count(), 1);
            check();
            for (QMessageBox* sheet : shownSheets()) sheet->close();
        }
    }
}

}  // namespace
