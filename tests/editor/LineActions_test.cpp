#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/TimeTexts.h"
#include "editor/ConflictNavigation.h"
#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"
#include "formatting/SCStyle.h"

using editortest::EditorTest;

namespace {

class LineActions : public EditorTest {
  protected:
    std::unique_ptr<SCViewControllerSRT> twelve() {
        auto view = makeView<SCViewControllerSRT>();
        auto subtitle = view->viewSubtitle();
        documenttest::load(
            subtitle, QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor/twelve.srt")),
            subtitleTypes::srt);
        host.show(view->view());
        testsupport::drainMainQueue();
        return view;
    }

    // A shown view of an SRT file with one line "Line" at each of the times.
    template <typename View>
    std::unique_ptr<View> withTimes(const std::vector<std::pair<double, double>>& times) {
        QByteArray srt;
        for (std::size_t i = 0; i < times.size(); ++i)
            srt += QByteArray::number(qulonglong(i + 1)) + "\n" +
                   srtTimeStringFromDoubleTime(times[i].first).toUtf8() + " --> " +
                   srtTimeStringFromDoubleTime(times[i].second).toUtf8() + "\nLine\n\n";
        const QString path = folder.filePath(QString::number(++files) + ".srt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(srt);
        file.close();
        auto view = makeView<View>();
        documenttest::load(view->viewSubtitle(), QUrl::fromLocalFile(path), subtitleTypes::srt);
        host.show(view->view());
        testsupport::drainMainQueue();
        return view;
    }

    // Types the amount into the view's time field over what it holds, and
    // picks the direction in its pop-up.
    static void typeAmount(SCMainViewController& view, const QString& amount, bool backward) {
        auto* field =
            view.view()->findChild<QLineEdit*>(view.isSRTView() ? "timeFieldSRT" : "timeFieldASS");
        QApplication::setActiveWindow(view.view()->window());
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, amount);
        auto* direction = view.view()->findChild<QComboBox*>("timeAdjustDirectionPopUp");
        QTest::keyClick(direction, backward ? Qt::Key_Down : Qt::Key_Up);
    }

    QTemporaryDir folder;
    int files = 0;
};

TEST_F(LineActions, NextAndPreviousMoveOneRowWithoutWrapping) {
    struct Case {
        QList<int> selected;
        bool next;
        int expected;
    };
    auto view = twelve();
    for (const Case& c :
         {Case{{}, true, 0}, Case{{3}, true, 4}, Case{{11}, true, 11}, Case{{}, false, -1},
          Case{{0}, false, 0}, Case{{5}, false, 4}, Case{{2, 7}, true, 8}}) {
        selectRows(*view, c.selected);
        if (!c.selected.isEmpty())
            view->subtitleTable()->selectionModel()->setCurrentIndex(
                view->subtitleTableController()->index(c.selected.last(), 0),
                QItemSelectionModel::NoUpdate);
        if (c.next)
            view->nextLineButtonClicked();
        else
            view->previousLineButtonClicked();
        EXPECT_EQ(view->selectedRow(), c.expected);
        if (c.expected >= 0) {
            EXPECT_EQ(view->selectedLines().size(), 1);
            EXPECT_EQ(view->dialogText(),
                      view->subtitleTableController()->lineAt(c.expected)->unformattedTextSRT());
        }
    }
}

TEST_F(LineActions, ExcludingARowThatIsNotSelectedLeavesTheSelectionAndEditor) {
    auto view = twelve();
    auto lines = view->viewSubtitle()->subtitleLinesArray();
    ASSERT_EQ(lines[2]->timeConflict(), "Start Overlap");
    selectRows(*view, {5});
    const QString editorText = view->dialogTextView()->toPlainText();
    lines[1]->setIsExcluded(true);  // as the check box writes it
    view->excludeLineCheckBox(1);
    EXPECT_EQ(lines[2]->timeConflict(), "");
    EXPECT_EQ(lines[1]->masterText().formattedText(),
              lines[1]->masterText().formattedTextUnselected());
    EXPECT_EQ(view->selectedRow(), 5);
    EXPECT_EQ(view->dialogTextView()->toPlainText(), editorText);
    lines[1]->setIsExcluded(false);
    view->excludeLineCheckBox(1);
    EXPECT_EQ(lines[2]->timeConflict(), "Start Overlap");
    EXPECT_EQ(lines[1]->masterText().formattedText(),
              lines[1]->masterText().formattedTextSelected());
    // A check box in no row, or past the lines: nothing, no crash.
    view->excludeLineCheckBox(-1);
    view->excludeLineCheckBox(12);
}

TEST(ConflictNavigation, ChoosesTheNearestConflictAndWhetherToJump) {
    struct Case {
        const char* what;
        bool next;
        int selected;
        std::vector<int> conflicts;
        int rows, first, shown;
        std::optional<ConflictNavigation::Jump> expected;
    };
    using J = ConflictNavigation::Jump;
    const Case cases[] = {
        {"next from 4", true, 4, {2, 9}, 12, 0, 12, J{9, 11, true}},
        {"previous from 4", false, 4, {2, 9}, 12, 0, 12, J{2, 0, true}},
        {"next past the last", true, 9, {2, 9}, 12, 0, 12, std::nullopt},
        {"previous before the first", false, 2, {2, 9}, 12, 0, 12, std::nullopt},
        {"no selection next starts at 1", true, -1, {0, 5}, 12, 0, 12, J{5, 8, false}},
        {"no selection previous", false, -1, {0, 5}, 12, 0, 12, std::nullopt},
        {"previous to row 0", false, 3, {0}, 12, 0, 12, J{0, 0, true}},
        {"scroll row bounded by the last", true, 8, {10}, 12, 0, 12, J{10, 11, true}},
        {"shown 20-39, inside", true, 21, {25}, 60, 20, 20, J{25, 28, false}},
        {"shown 20-39, below", true, 21, {36}, 60, 20, 20, J{36, 39, true}},
        {"shown 20-39, previous inside", false, 30, {25}, 60, 20, 20, J{25, 22, false}},
        {"shown 20-39, previous above", false, 30, {23}, 60, 20, 20, J{23, 20, true}},
        {"no lines", true, -1, {}, 0, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<bool> marks(std::size_t(c.rows), false);
        for (int r : c.conflicts) marks[std::size_t(r)] = true;
        const auto jump = c.next
                              ? ConflictNavigation::next(c.selected, marks, c.first, c.shown)
                              : ConflictNavigation::previous(c.selected, marks, c.first, c.shown);
        ASSERT_EQ(jump.has_value(), c.expected.has_value());
        if (!jump) continue;
        EXPECT_EQ(jump->target, c.expected->target);
        EXPECT_EQ(jump->scrollRow, c.expected->scrollRow);
        EXPECT_EQ(jump->jump, c.expected->jump);
    }
}

TEST_F(LineActions, ConflictButtonsSelectTheTargetAndFixRepairsOverlaps) {
    auto view = twelve();
    view->goToNextConflict();
    EXPECT_EQ(view->selectedRow(), 1);  // rows 1 and 2, 6 and 7 overlap; search starts at 1
    view->goToNextConflict();
    EXPECT_EQ(view->selectedRow(), 2);
    view->goToNextConflict();
    EXPECT_EQ(view->selectedRow(), 6);
    view->goToPreviousConflict();
    EXPECT_EQ(view->selectedRow(), 2);
    EXPECT_EQ(view->dialogText(), "<i>three</i>");

    view->fixConflictsButton();
    for (const auto& line : view->viewSubtitle()->subtitleLinesArray())
        EXPECT_EQ(line->timeConflict(), "") << line->unformattedTextSRT().toStdString();
    EXPECT_EQ(view->viewSubtitle()->timeConflictsCount(), 0);
    view->goToNextConflict();
    EXPECT_EQ(view->selectedRow(), 2);
}

// Shift and stretch change overlaps without searching again: one press of
// Fix Conflicts closes the overlap the lines have now, not the one found
// before.
TEST_F(LineActions, FixConflictsAfterShiftOrStretchClosesTheOverlapInOnePress) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> times;  // two lines, overlapping
        const char* button;
        bool backward;
        Qt::Key secondsDigit;  // typed into the amount's seconds
        QString amount;
    } cases[] = {
        // Factor 2: the overlap grows from 0.2 to 0.4.
        {"stretch forward",
         {{1.0, 3.0}, {2.8, 5.0}},
         "timeStretchButton",
         false,
         Qt::Key_5,
         "00:00:05,000"},
        // Factor 0.6: it shrinks to 0.12.
        {"stretch backward",
         {{1.0, 3.0}, {2.8, 5.0}},
         "timeStretchButton",
         true,
         Qt::Key_2,
         "00:00:02,000"},
        // Every line moves back by 2 s, and the overlap stays 0.5.
        {"shift backward",
         {{3.0, 6.0}, {5.5, 7.0}},
         "timeShiftButton",
         true,
         Qt::Key_2,
         "00:00:02,000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto view = withTimes<SCViewControllerSRT>(c.times);
        const auto subtitle = view->viewSubtitle();
        ASSERT_TRUE(testsupport::spinUntil([&] { return subtitle->timeConflictsCount() == 1; }));

        // Into the field, then the caret before the seconds' units.
        auto* amount = view->view()->findChild<QLineEdit*>("timeFieldSRT");
        QApplication::setActiveWindow(host.window());
        QTest::mouseClick(amount, Qt::LeftButton);
        QTest::keyClick(amount, Qt::Key_Home);
        for (int i = 0; i < 7; ++i) QTest::keyClick(amount, Qt::Key_Right);
        QTest::keyClick(amount, c.secondsDigit);
        ASSERT_EQ(view->timeAdjustTextSRT(), c.amount);
        if (c.backward)
            QTest::keyClick(view->view()->findChild<QComboBox*>("timeAdjustDirectionPopUp"),
                            Qt::Key_Down);
        ASSERT_EQ(view->timeAdjustDirection(), c.backward ? "Backward" : "Forward");
        QTest::mouseClick(view->view()->findChild<QPushButton*>(c.button), Qt::LeftButton);
        const auto lines = subtitle->subtitleLinesArray();
        ASSERT_EQ(lines.size(), 2);
        ASSERT_GT(lines[0]->userEndTimeDouble(), lines[1]->userStartTimeDouble());

        QTest::mouseClick(view->view()->findChild<QPushButton*>("fixConflictsButton"),
                          Qt::LeftButton);
        EXPECT_NEAR(lines[0]->userEndTimeDouble(), lines[1]->userStartTimeDouble(), 1e-9);
        EXPECT_EQ(subtitle->timeConflictsCount(), 0);
        for (const auto& line : lines) EXPECT_EQ(line->timeConflict(), "");
    }
}

// A shift or stretch moves every line or none: one that cannot be applied
// leaves every time as it was and says why on a sheet over the window, with
// the largest amount that applies in the view's time form.
TEST_F(LineActions, ARefusedShiftOrStretchChangesNothingAndSaysWhy) {
    using Times = std::vector<std::pair<double, double>>;
    struct Case {
        const char* what;
        Times times;
        bool srt;
        const char* button;
        QString amount;  // typed, in the view's form
        bool backward;
        QString message, informative;  // no sheet when empty
        Times after;                   // none: the times stay as they were
    } cases[] = {
        // The second cue starts first: the first would move, the second not.
        {"shift, the lines out of time order",
         {{10, 12}, {2, 4}, {15, 16}},
         true,
         "timeShiftButton",
         "00:00:05,000",
         true,
         "The Times Can Not be Shifted Backward by 00:00:05,000",
         "Line 2 starts at 00:00:02,000, and no line can start before 00:00:00,000. "
         "The largest backward shift is 00:00:02,000.",
         {}},
        {"shift, the first line at 1 s",
         {{1, 3}, {5, 6}},
         true,
         "timeShiftButton",
         "00:00:02,000",
         true,
         "The Times Can Not be Shifted Backward by 00:00:02,000",
         "Line 1 starts at 00:00:01,000, and no line can start before 00:00:00,000. "
         "The largest backward shift is 00:00:01,000.",
         {}},
        {"shift in the ASS view",
         {{7, 8}, {3.25, 5}},
         false,
         "timeShiftButton",
         "0:00:04.00",
         true,
         "The Times Can Not be Shifted Backward by 0:00:04.00",
         "Line 2 starts at 0:00:03.25, and no line can start before 0:00:00.00. "
         "The largest backward shift is 0:00:03.25.",
         {}},
        {"stretch backward beyond the last end",
         {{10, 12}, {90, 100}},
         true,
         "timeStretchButton",
         "00:01:50,000",
         true,
         "The Times Can Not be Stretched Backward by 00:01:50,000",
         "The last line, line 2, ends at 00:01:40,000, and a backward stretch must be shorter "
         "than that. The largest backward stretch is 00:01:39,999.",
         {}},
        {"stretch backward by the last end, in the ASS view",
         {{1, 2}, {3, 4}},
         false,
         "timeStretchButton",
         "0:00:04.00",
         true,
         "The Times Can Not be Stretched Backward by 0:00:04.00",
         "The last line, line 2, ends at 0:00:04.00, and a backward stretch must be shorter "
         "than that. The largest backward stretch is 0:00:03.99.",
         {}},
        {"stretch with a last line that ends at 0",
         {{0, 0.5}, {0, 0}},
         true,
         "timeStretchButton",
         "00:00:05,000",
         false,
         "The Times Can Not be Stretched Forward by 00:00:05,000",
         "The last line, line 2, ends at 00:00:00,000: there is no length to stretch.",
         {}},
        // Signs and songs kept after the dialogue: the line that starts last
        // is named, and its end is what a backward stretch must stay under.
        {"stretch, the lines out of time order",
         {{10, 12}, {2, 4}},
         true,
         "timeStretchButton",
         "00:00:15,000",
         true,
         "The Times Can Not be Stretched Backward by 00:00:15,000",
         "The line that starts last, line 1, ends at 00:00:12,000, and a backward stretch must "
         "be shorter than that. The largest backward stretch is 00:00:11,999.",
         {}},
        // The end is held a hair above 2007 ms: the offer is still below it.
        {"stretch by an end of 2.007 s",
         {{1, 2.007}},
         true,
         "timeStretchButton",
         "00:00:02,007",
         true,
         "The Times Can Not be Stretched Backward by 00:00:02,007",
         "The last line, line 1, ends at 00:00:02,007, and a backward stretch must be shorter "
         "than that. The largest backward stretch is 00:00:02,006.",
         {}},
        {"stretch by an end of 1:08:16.02, in the ASS view",
         {{3000, 4096.02}},
         false,
         "timeStretchButton",
         "1:08:16.02",
         true,
         "The Times Can Not be Stretched Backward by 1:08:16.02",
         "The last line, line 1, ends at 1:08:16.02, and a backward stretch must be shorter "
         "than that. The largest backward stretch is 1:08:16.01.",
         {}},
        // A cue that ends before it starts: its end would go below 0.
        {"shift, an end before its start",
         {{5, 1}, {6, 8}},
         true,
         "timeShiftButton",
         "00:00:04,000",
         true,
         "The Times Can Not be Shifted Backward by 00:00:04,000",
         "Line 1 ends at 00:00:01,000, and no line can end before 00:00:00,000. "
         "The largest backward shift is 00:00:01,000.",
         {}},
        // Amounts that apply still move every line, and say nothing.
        {"shift out of order by the earliest start",
         {{10, 12}, {2, 4}},
         true,
         "timeShiftButton",
         "00:00:02,000",
         true,
         {},
         {},
         {{8, 10}, {0, 2}}},
        {"stretch backward by the offer at an end of 2.007 s",
         {{1, 2.007}},
         true,
         "timeStretchButton",
         "00:00:02,006",
         true,
         {},
         {},
         {{1 / 2.007 * 0.001, 0.001}}},
        {"stretch, out of time order, moves the last subtitle on screen",
         {{10, 12}, {2, 4}},
         true,
         "timeStretchButton",
         "00:00:03,000",
         true,
         {},
         {},
         {{7.5, 9}, {1.5, 3}}},
        {"stretch backward by the largest amount",
         {{1, 2}, {3, 4}},
         false,
         "timeStretchButton",
         "0:00:03.99",
         true,
         {},
         {},
         {{0.0025, 0.005}, {0.0075, 0.01}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<SCMainViewController> view;
        if (c.srt)
            view = withTimes<SCViewControllerSRT>(c.times);
        else
            view = withTimes<SCViewControllerASS>(c.times);
        const auto lines = view->viewSubtitle()->subtitleLinesArray();
        ASSERT_EQ(lines.size(), qsizetype(c.times.size()));
        typeAmount(*view, c.amount, c.backward);
        ASSERT_EQ(c.srt ? view->timeAdjustTextSRT() : view->timeAdjustTextASS(), c.amount);
        ASSERT_EQ(view->timeAdjustDirection(), c.backward ? "Backward" : "Forward");
        QTest::mouseClick(view->view()->findChild<QPushButton*>(c.button), Qt::LeftButton);

        const Times& after = c.after.empty() ? c.times : c.after;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_NEAR(lines[i]->userStartTimeDouble(), after[std::size_t(i)].first, 1e-9) << i;
            EXPECT_NEAR(lines[i]->userEndTimeDouble(), after[std::size_t(i)].second, 1e-9) << i;
        }
        auto* sheet = host.window()->findChild<QMessageBox*>();
        if (c.message.isEmpty()) {
            EXPECT_EQ(sheet, nullptr);
            continue;
        }
        if (!sheet) {
            ADD_FAILURE() << "no sheet";  // and on to the next case
            continue;
        }
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet->text(), c.message);
        EXPECT_EQ(sheet->informativeText(), c.informative);
        ASSERT_EQ(sheet->buttons().size(), 1);
        QTest::mouseClick(sheet->buttons().first(), Qt::LeftButton);
        ASSERT_TRUE(testsupport::spinUntil(
            [&] { return host.window()->findChild<QMessageBox*>() == nullptr; }));
        // The field keeps the amount for a corrected try.
        EXPECT_EQ(c.srt ? view->timeAdjustTextSRT() : view->timeAdjustTextASS(), c.amount);
    }
}

}  // namespace
