#include <gtest/gtest.h>

#include <QTest>
#include <future>

#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"

using editortest::EditorTest;

namespace {

class DialogText : public EditorTest {};

struct SelectionCase {
    QList<int> rows;
    bool srt;
};

// Lines of lf.srt: "Hello\n<i>World</i>" and "Second".
TEST_F(DialogText, FollowsTheSelectionAndIsWritableOnlyWithOneLine) {
    const SelectionCase cases[] = {{{}, true},  {{0}, true},  {{0, 1}, true},
                                   {{}, false}, {{0}, false}, {{0, 1}, false}};
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(
            QString("rows %1, %2").arg(c.rows.size()).arg(c.srt ? "SRT" : "ASS").toStdString());
        std::unique_ptr<SCMainViewController> view;
        if (c.srt)
            view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
        else
            view = shownView<SCViewControllerASS>("lf.srt", subtitleTypes::srt);
        const SCSubtitleLineList lines = view->viewSubtitle()->subtitleLinesArray();
        ASSERT_EQ(lines.size(), 2);
        auto text = [&](int i) {
            return c.srt ? lines[i]->unformattedTextSRT() : lines[i]->unformattedTextASS();
        };
        const QString first = text(0), second = text(1);
        EXPECT_EQ(first, c.srt ? "Hello\n<i>World</i>" : "Hello\n{\\i1}World{\\i0}");
        selectRows(*view, c.rows);

        const QString expected = c.rows.isEmpty() ? QString() : first;
        EXPECT_EQ(view->dialogText(), expected);
        QPlainTextEdit* editor = view->dialogTextView();
        EXPECT_EQ(editor->toPlainText(), expected);
        const bool writable = c.rows.size() == 1;
        EXPECT_EQ(editor->isReadOnly(), !writable);

        view->setDialogText("Replaced");
        EXPECT_EQ(text(0), writable ? "Replaced" : first);
        EXPECT_EQ(text(1), second);

        // Typing reaches the line without the editor being rewritten.
        editor->setFocus();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, "!");
        EXPECT_EQ(text(0), writable ? "Replaced!" : first);
        EXPECT_EQ(editor->textCursor().position(), editor->toPlainText().size());
        if (!writable) {
            EXPECT_EQ(editor->toPlainText(), expected);
        }
    }
}

TEST_F(DialogText, TheEditorShowsTheLinesTextAfterACellEditAndARereadAndTypingKeepsIt) {
    for (const bool srt : {true, false}) {
        SCOPED_TRACE(srt ? "SRT" : "ASS");
        std::unique_ptr<SCMainViewController> view;
        if (srt)
            view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
        else
            view = shownView<SCViewControllerASS>("lf.srt", subtitleTypes::srt);
        const SCSubtitleLinePtr line = view->viewSubtitle()->subtitleLinesArray().at(1);
        const auto text = [&] {
            return srt ? line->unformattedTextSRT() : line->unformattedTextASS();
        };
        QTableView* table = view->subtitleTable();
        const auto centre = [&](int column) {
            return table->visualRect(view->subtitleTableController()->index(1, column)).center();
        };
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          centre(SubtitleLinesTableModel::dialogColumn));
        QPlainTextEdit* editor = view->dialogTextView();
        ASSERT_EQ(editor->toPlainText(), "Second");

        // A second line added in the table's own cell editor.
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {},
                           centre(SubtitleLinesTableModel::dialogColumn));
        auto* cell = table->viewport()->findChild<QPlainTextEdit*>();
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(cell, Qt::Key_Return);
        QTest::keyClicks(cell, "line");
        QTest::keyClick(cell, Qt::Key_Tab);
        ASSERT_EQ(text(), "Second\nline");
        EXPECT_EQ(editor->toPlainText(), "Second\nline");

        // Typing in the editor below continues the table's edit.
        QTest::mouseClick(editor->viewport(), Qt::LeftButton);
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor, " two");
        EXPECT_EQ(text(), "Second\nline two");
        EXPECT_EQ(editor->toPlainText(), "Second\nline two");

        // A re-read gives the file's text back, and the editor shows it.
        const auto subtitle = view->viewSubtitle();
        auto reread = std::async(std::launch::async, [subtitle] {
            return subtitle->reinitializeForNewEncoding(QStringLiteral("UTF8"));
        });
        ASSERT_TRUE(testsupport::spinUntil(
            [&] { return reread.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            30000));
        ASSERT_EQ(reread.get(), resultTypes::ok);
        ASSERT_TRUE(testsupport::spinUntil([&] { return text() == "Second"; }, 30000));
        testsupport::drainMainQueue();
        EXPECT_EQ(text(), "Second");
        EXPECT_EQ(editor->toPlainText(), "Second");
    }
}

TEST_F(DialogText, NewLinesPublishedClearTheSelectionAndTheEditor) {
    auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
    selectRows(*view, {1});
    EXPECT_EQ(view->dialogTextView()->toPlainText(), "Second");
    documenttest::load(view->viewSubtitle(), documenttest::fixture("overlap.srt"),
                       subtitleTypes::srt);
    EXPECT_EQ(view->subtitleTableController()->rowCount(), 2);
    EXPECT_EQ(view->selectedRow(), -1);
    EXPECT_EQ(view->dialogTextView()->toPlainText(), "");
    EXPECT_TRUE(view->dialogTextView()->isReadOnly());
}

TEST_F(DialogText, StyleNamesFollowTheStylesAndIgnoreWrites) {
    auto view = shownView<SCViewControllerASS>("two-styles.ass", subtitleTypes::ass);
    EXPECT_EQ(view->subtitleStylesNamesList(), QStringList({"Default", "Sign"}));
    view->setSubtitleStylesNamesList({"Other"});
    EXPECT_EQ(view->subtitleStylesNamesList(), QStringList({"Default", "Sign"}));
}

}  // namespace
