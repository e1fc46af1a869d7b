#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "DialogCellInk.h"
#include "editor/EditorFixture.h"
#include "editor/LinesTableDelegate.h"
#include "editor/QtPrinters.h"

using editortest::EditorTest;

namespace {

class Delegates : public EditorTest {
  protected:
    template <typename Editor>
    Editor* openEditor(SCMainViewController& view, int row, int column) {
        const QModelIndex index = view.subtitleTableController()->index(row, column);
        view.subtitleTable()->setCurrentIndex(index);
        view.subtitleTable()->edit(index);
        return view.subtitleTable()->viewport()->findChild<Editor*>();
    }
    static int rowHeight(SCMainViewController& view, int row) {
        return view.subtitleTable()->verticalHeader()->sectionSize(row);
    }
    // The fixture in the SRT or the ASS view.
    std::unique_ptr<SCMainViewController> formView(bool srt, const QString& fixture) {
        if (srt) return shownView<SCViewControllerSRT>(fixture, subtitleTypes::srt);
        return shownView<SCViewControllerASS>(fixture, subtitleTypes::srt);
    }
    // Opens a cell's editor as the user does: a click, then a double click.
    template <typename Editor>
    static Editor* doubleClickCell(SCMainViewController& view, int row, int column) {
        QTableView* table = view.subtitleTable();
        const QPoint centre =
            table->visualRect(view.subtitleTableController()->index(row, column)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
        return table->viewport()->findChild<Editor*>();
    }
};

TEST_F(Delegates, ReturnAndBackspaceInADialogCellBreakTheLineAndMeasureTheRow) {
    auto view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
    const int before = rowHeight(*view, 0);
    auto* editor = openEditor<QPlainTextEdit>(*view, 0, SubtitleLinesTableModel::dialogColumn);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(view->timeValidator().oldText(), "first");
    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(editor->toPlainText(), "first\n");
    EXPECT_TRUE(view->subtitleTable()->isPersistentEditorOpen(QModelIndex()) ||
                editor->isVisible());
    EXPECT_GT(rowHeight(*view, 0), before);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->toPlainText(), "first");
    EXPECT_EQ(rowHeight(*view, 0), before);
    // Other commands keep their standard meaning.
    for (const char* command : {"insertTab:", "cancelOperation:", "moveUp:"})
        EXPECT_FALSE(view->doCommandBy(editor, command)) << command;
    EXPECT_EQ(editor->toPlainText(), "first");
}

TEST_F(Delegates, TypingInATimeCellKeepsTheFormAndTheMarksFollow) {
    struct Case {
        bool srt;
        int column;
        int caret;
        QString expected;
    };
    for (const Case& c : {Case{true, 2, 7, "00:00:05,000"}, Case{false, 2, 6, "0:00:05.00"},
                          Case{true, 3, 7, "00:00:05,000"}}) {
        SCOPED_TRACE(c.expected.toStdString() + " column " + std::to_string(c.column));
        std::unique_ptr<SCMainViewController> view;
        if (c.srt)
            view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
        else
            view = shownView<SCViewControllerASS>("overlap.srt", subtitleTypes::srt);
        const auto lines = view->viewSubtitle()->subtitleLinesArray();
        ASSERT_EQ(lines[0]->timeConflict(), "End Overlap");
        // Row 1 starts at 3 s (end 9 s); row 0 ends at 4 s.
        const int row = c.column == 2 ? 1 : 0;
        auto* field = openEditor<QLineEdit>(*view, row, c.column);
        ASSERT_NE(field, nullptr);
        field->setCursorPosition(c.caret);
        QTest::keyClick(field, c.column == 2 ? Qt::Key_5 : Qt::Key_2);
        const QString expected = c.column == 2 ? c.expected : QString("00:00:02,000");
        EXPECT_EQ(field->text(), expected);
        const double seconds =
            c.column == 2 ? lines[1]->userStartTimeDouble() : lines[0]->userEndTimeDouble();
        EXPECT_DOUBLE_EQ(seconds, c.column == 2 ? 5.0 : 2.0);
        EXPECT_EQ(lines[0]->timeConflict(), "");
        EXPECT_EQ(lines[1]->timeConflict(), "");
        // The open editor is not reset by the model's refresh.
        testsupport::drainMainQueue();
        EXPECT_EQ(field->text(), expected);
        // The caret steps over the separator after the typed digit.
        EXPECT_EQ(field->cursorPosition(), c.caret + 2);
    }
}

TEST_F(Delegates, TimesTypedWithTheirSeparatorsAreTheTimesTyped) {
    // Keys typed from the start of a time cell opened by a double click.
    // The fixture's line runs from 00:00:03,125 to 00:00:09,195.
    struct Case {
        bool srt;
        int column;
        const char* keys;
        QString text;  // the cell afterwards
        int caret;
        int beeps;
    };
    const int start = SubtitleLinesTableModel::startColumn;
    const int end = SubtitleLinesTableModel::endColumn;
    const Case cases[] = {
        {true, end, "00:00:12", "00:00:12,195", 9, 0},
        {true, start, "00:00:04,5", "00:00:04,525", 10, 0},
        {true, end, "000012", "00:00:12,195", 9, 0},  // digits alone, as ever
        {true, end, "00:00:09,19", "00:00:09,195", 11, 0},
        {true, end, "0:", "00:00:09,195", 1, 1},   // ":" where a digit belongs
        {true, end, "00,", "00:00:09,195", 3, 1},  // "," where ":" belongs
        {true, end, "00:0:", "00:00:09,195", 4, 1},
        {false, end, "0:00:12", "0:00:12.19", 8, 0},
        {false, start, "0:00:04.5", "0:00:04.52", 9, 0},
        {false, end, "00012", "0:00:12.19", 8, 0},
        {false, end, ":", "0:00:09.19", 0, 1},
        {false, end, "0:00.", "0:00:09.19", 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.srt ? "SRT " : "ASS ") + c.keys);
        beeps = 0;
        const auto view = formView(c.srt, "typed-times.srt");
        const QModelIndex index = view->subtitleTableController()->index(0, c.column);
        auto* field = doubleClickCell<QLineEdit>(*view, 0, c.column);
        ASSERT_NE(field, nullptr);
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, c.keys);
        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(field->cursorPosition(), c.caret);
        EXPECT_EQ(beeps, c.beeps);
        // The line holds what the cell shows, also after the cell is left.
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_EQ(index.data(Qt::EditRole).toString(), c.text);
    }
}

TEST_F(Delegates, RefusedKeysAndPastesBeepAndLeaveTheTextAndCaret) {
    // Keys and pastes (through the clipboard) in the Start cell of
    // 12:34:56,789, opened by a double click; the caret is put in place and a
    // selection made with the arrow keys.
    struct Case {
        bool srt;
        int caret;
        int selected;       // characters selected from the caret on
        const char* paste;  // pasted, or else `keys` typed
        const char* keys;
        QString text;  // the cell afterwards
        int caretAfter;
        int beeps;
    };
    const Case cases[] = {
        // Only digits pasted: the separator after the selection is no typed one.
        {true, 2, 3, "56", nullptr, "12:50:56,789", 3, 0},
        {false, 2, 3, "56", nullptr, "12:50:56.78", 3, 0},
        // A separator past the end is refused like one anywhere else; a digit
        // there is dropped quietly.
        {true, 12, 0, nullptr, ":", "12:34:56,789", 12, 1},
        {true, 12, 0, nullptr, ",", "12:34:56,789", 12, 1},
        {false, 11, 0, nullptr, ".", "12:34:56.78", 11, 1},
        {true, 12, 0, nullptr, "5", "12:34:56,789", 12, 0},
        // Refused pastes leave the caret where the paste began.
        {true, 3, 0, "3a", nullptr, "12:34:56,789", 3, 1},
        {true, 0, 0, "1:2", nullptr, "12:34:56,789", 0, 1},
        {true, 3, 0, nullptr, "a", "12:34:56,789", 3, 1},
        // A selection replaced by a misplaced separator: the caret stays at
        // the selection's end, where the arrow keys left it.
        {true, 3, 2, ",", nullptr, "12:34:56,789", 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.srt ? "SRT " : "ASS ") + (c.paste ? "paste " : "keys ") +
                     (c.paste ? c.paste : c.keys) + " at " + std::to_string(c.caret));
        beeps = 0;
        const auto view = formView(c.srt, "refused-times.srt");
        const int start = SubtitleLinesTableModel::startColumn;
        const QModelIndex index = view->subtitleTableController()->index(0, start);
        auto* field = doubleClickCell<QLineEdit>(*view, 0, start);
        ASSERT_NE(field, nullptr);
        QTest::keyClick(field, Qt::Key_Home);
        for (int i = 0; i < c.caret; ++i) QTest::keyClick(field, Qt::Key_Right);
        for (int i = 0; i < c.selected; ++i)
            QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
        if (c.paste) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.paste));
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(field, c.keys);
        }
        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(field->cursorPosition(), c.caretAfter);
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(index.data(Qt::EditRole).toString(), c.text);
    }
}

TEST_F(Delegates, EscapeDiscardsTheEditInEveryCell) {
    // Row 1 starts at 3 s and row 0 ends at 4 s: both carry a conflict mark
    // until the typed time takes it away.
    struct Case {
        bool srt;
        int row;
        int column;
        int caret;
        const char* keys;
        QString typed;  // the cell before Escape
    };
    const int start = SubtitleLinesTableModel::startColumn;
    const int end = SubtitleLinesTableModel::endColumn;
    const int dialog = SubtitleLinesTableModel::dialogColumn;
    const Case cases[] = {
        {true, 1, start, 7, "5", "00:00:05,005"},
        {true, 0, end, 7, "2", "00:00:02,000"},
        {false, 1, start, 6, "5", "0:00:05.00"},
        {true, 1, dialog, -1, " and more", "second and more"},
        {false, 1, dialog, -1, " and more", "second and more"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.srt ? "SRT" : "ASS") + " column " + std::to_string(c.column));
        const auto view = formView(c.srt, "overlap.srt");
        const auto lines = view->viewSubtitle()->subtitleLinesArray();
        // A time the ASS form shows only to the hundredth stays whole.
        lines[1]->setUserStartTimeDouble(3.005);
        view->viewSubtitle()->findTimeConflicts();
        const QStringList marks{lines[0]->timeConflict(), lines[1]->timeConflict()};
        ASSERT_EQ(marks, QStringList({"End Overlap", "Start Overlap"}));
        const QModelIndex index = view->subtitleTableController()->index(c.row, c.column);
        const QString shown = index.data(Qt::EditRole).toString();
        QWidget* editor = nullptr;
        if (c.column == dialog) {
            auto* text = doubleClickCell<QPlainTextEdit>(*view, c.row, c.column);
            ASSERT_NE(text, nullptr);
            QTest::keyClicks(text, c.keys);
            EXPECT_EQ(text->toPlainText(), c.typed);
            editor = text;
        } else {
            auto* field = doubleClickCell<QLineEdit>(*view, c.row, c.column);
            ASSERT_NE(field, nullptr);
            field->setCursorPosition(c.caret);
            QTest::keyClicks(field, c.keys);
            EXPECT_EQ(field->text(), c.typed);
            // The typed time is live: the marks follow it.
            EXPECT_EQ(index.data(Qt::EditRole).toString(), c.typed);
            EXPECT_EQ(lines[0]->timeConflict(), "");
            editor = field;
        }
        const QPointer<QWidget> open(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        testsupport::drainMainQueue();
        EXPECT_TRUE(!open || !open->isVisible());
        EXPECT_EQ(index.data(Qt::EditRole).toString(), shown);
        EXPECT_DOUBLE_EQ(lines[1]->userStartTimeDouble(), 3.005);
        EXPECT_DOUBLE_EQ(lines[0]->userEndTimeDouble(), 4.0);
        EXPECT_EQ(lines[1]->unformattedTextSRT(), "second");
        EXPECT_EQ(QStringList({lines[0]->timeConflict(), lines[1]->timeConflict()}), marks);
    }
}

TEST_F(Delegates, OtherColumnsAndFieldsAreLeftAloneAndAdjustFieldsUseTheirOwnForm) {
    auto view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
    auto line = view->viewSubtitle()->subtitleLinesArray()[0];
    line->setTimeConflict("marker");  // a conflict search would clear it
    for (int column : {0, 1, 4, 5, 6}) {
        QLineEdit cell("abc", view->subtitleTable()->viewport());
        LinesTableDelegate::tagEditor(&cell, 0, column);
        view->controlTextDidChange(&cell);
        EXPECT_EQ(cell.text(), "abc") << column;
    }
    QLineEdit unnamed("abc");
    view->controlTextDidChange(&unnamed);
    EXPECT_EQ(unnamed.text(), "abc");

    QLineEdit assField(view->view());
    assField.setObjectName("timeFieldASS");
    view->controlTextShouldBeginEditing("0:00:00.00");
    assField.setText("0:500:00.00");
    assField.setCursorPosition(3);
    view->controlTextDidChange(&assField);
    EXPECT_EQ(assField.text(), "0:50:00.00");
    EXPECT_EQ(view->timeAdjustTextASS(), "0:50:00.00");
    EXPECT_EQ(view->timeAdjustTextSRT(), "00:00:00,000");
    EXPECT_EQ(line->timeConflict(), "marker");
    EXPECT_EQ(beeps, 0);

    auto* srtField = view->view()->findChild<QLineEdit*>("timeFieldSRT");
    srtField->setFocus();
    srtField->setCursorPosition(7);
    QTest::keyClick(srtField, Qt::Key_2);
    EXPECT_EQ(view->timeAdjustTextSRT(), "00:00:02,000");
    EXPECT_EQ(line->timeConflict(), "marker");
}

TEST_F(Delegates, RowsShowTheirWholeTextAndStylesRowsAreEighteen) {
    auto view = shownView<SCViewControllerASS>("two-styles.ass", subtitleTypes::ass);
    QTableView* table = view->subtitleTable();
    ASSERT_EQ(table->model()->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(editortest::showsItsWholeDialog(table, row));
        EXPECT_GE(rowHeight(*view, row), 16) << row;
    }
    // "First\NSecond" shows as two lines, taller than one line of 14-point
    // text (18.7 pixels); the others as one.
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(editortest::dialogCellInk(table, row, rowHeight(*view, row)).height() > 19,
                  row == 1)
            << row;
    EXPECT_GT(rowHeight(*view, 1), rowHeight(*view, 0));
    for (int row = 0; row < view->stylesTable()->model()->rowCount(); ++row)
        EXPECT_EQ(view->stylesTable()->rowHeight(row), 18) << row;
}

TEST_F(Delegates, ALinesRowIsFoundByTheLineNotByItsIndex) {
    // Cues 2 and 4 are dropped: the lines keep indexes 0, 2, 4.
    auto view = shownView<SCViewControllerSRT>("odd-times.srt", subtitleTypes::srt);
    const auto lines = view->viewSubtitle()->subtitleLinesArray();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2]->userIndex(), 4);
    EXPECT_EQ(view->rowOfLine(lines[2].get()), 2);
    EXPECT_EQ(view->rowOfLine(lines[1].get()), 1);
    EXPECT_EQ(view->rowOfLine(nullptr), -1);
    lines[2]->setUnformattedTextSRT("Much longer now\nover\nthree lines");
    view->noteHeightOfRows({view->rowOfLine(lines[2].get())});
    EXPECT_TRUE(editortest::showsItsWholeDialog(view->subtitleTable(), 2));
    EXPECT_GT(rowHeight(*view, 2), rowHeight(*view, 1));
}

TEST_F(Delegates, TheIncludeCheckBoxWritesTheLineAndSelectsNothing) {
    auto view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
    auto line = view->viewSubtitle()->subtitleLinesArray()[1];
    const QRect cell = view->subtitleTable()->visualRect(
        view->subtitleTableController()->index(1, SubtitleLinesTableModel::includeColumn));
    QTest::mouseClick(view->subtitleTable()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(line->isExcluded());
    EXPECT_EQ(view->selectedRow(), -1);
    const QModelIndex start =
        view->subtitleTableController()->index(1, SubtitleLinesTableModel::startColumn);
    EXPECT_EQ(start.data(Qt::ForegroundRole).value<QColor>(), QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    QTest::mouseClick(view->subtitleTable()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(line->isExcluded());
    EXPECT_EQ(start.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
}

}  // namespace
