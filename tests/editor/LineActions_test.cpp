#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
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
        // The second line would start before 0: only the first moves, and
        // the overlap shrinks from 4.5 to 2.5.
        {"shift stopped by a line",
         {{3.0, 6.0}, {1.5, 7.0}},
         "timeShiftButton",
         true,
         Qt::Key_2,
         "00:00:02,000"},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray srt;
        for (std::size_t i = 0; i < c.times.size(); ++i)
            srt += QByteArray::number(qulonglong(i + 1)) + "\n" +
                   srtTimeStringFromDoubleTime(c.times[i].first).toUtf8() + " --> " +
                   srtTimeStringFromDoubleTime(c.times[i].second).toUtf8() + "\nLine\n\n";
        const QString path = folder.filePath(QString(c.what) + ".srt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(srt);
        file.close();
        auto view = makeView<SCViewControllerSRT>();
        const auto subtitle = view->viewSubtitle();
        documenttest::load(subtitle, QUrl::fromLocalFile(path), subtitleTypes::srt);
        host.show(view->view());
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

}  // namespace
