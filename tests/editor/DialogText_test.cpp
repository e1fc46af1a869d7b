#include <gtest/gtest.h>

#include <QTest>

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
