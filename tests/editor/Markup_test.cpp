#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "editor/EditorFixture.h"
#include "editor/MarkupToggle.h"
#include "editor/QtPrinters.h"

using editortest::EditorTest;

namespace {

struct MarkupCase {
    const char* what;
    bool srt;
    const char* title;
    QString text;
    int location, length;
    QString expectedText;  // empty: nothing happens
    int newLength;
};

TEST(MarkupToggle, PutsTakesAndMovesTagsAndSelectsExactlyTheInsertedText) {
    const MarkupCase cases[] = {
        {"empty selection", true, "B", "Hello", 2, 0, "", 0},
        {"spaces and tabs", true, "B", "a \t\u00a0 b", 1, 4, "", 0},
        {"plain", true, "B", "Hello world", 6, 5, "Hello <b>world</b>", 12},
        {"line break", true, "B", "a\nb", 1, 1, "a<b>\n</b>b", 8},
        {"spaces kept inside", true, "B", "a  b  c", 1, 5, "a<b>  b  </b>c", 12},
        {"both tags", true, "B", "x<b>bold</b>y", 1, 11, "xboldy", 4},
        {"ass italic", false, "I", "Hello world", 0, 5, "{\\i1}Hello{\\i0} world", 15},
        {"end tag only", true, "B", "<b>bold</b> tail", 3, 13, "<b>bold tail</b>", 13},
        {"start tag in front", true, "B", "<b>bold tail", 0, 12, "<b>bold tail", 12},
        {"join two spans", true, "B", "<b>a</b> <b>b</b>", 4, 8, "<b>a b</b>", 1},
        {"join two spans ass", false, "B", "{\\b1}a{\\b0} {\\b1}b{\\b0}", 6, 11, "{\\b1}a b{\\b0}",
         1},
        {"other style inside", true, "B", "<i>word</i>", 0, 11, "<b><i>word</i></b>", 18},
        {"upper-case tag is text", true, "B", "<B>x</B>", 0, 8, "<b><B>x</B></b>", 15},
        {"underline title", true, "U", "word", 0, 4, "<u>word</u>", 11},
        {"unknown title is bold", true, "X", "word", 0, 4, "<b>word</b>", 11},
        {"two tags of one style", true, "B", "<b>a</b><b>b</b>", 0, 16, "ab", 2},
        {"two start tags", false, "B", "{\\b1}a{\\b1}b", 0, 12, "{\\b1}ab", 7},
        {"selection past the end", true, "B", "abc", 1, 10, "a<b>bc</b>", 9},
    };
    for (const MarkupCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = MarkupToggle::apply(c.text, c.location, c.length,
                                                MarkupToggle::styleForTitle(c.title), c.srt);
        if (c.expectedText.isEmpty()) {
            EXPECT_FALSE(result.has_value());
            continue;
        }
        ASSERT_TRUE(result.has_value());
        const int start = std::min<int>(c.location, int(c.text.size()));
        const int end = std::min<int>(c.location + c.length, int(c.text.size()));
        const QString text = c.text.left(start) + result->replacement + c.text.mid(end);
        EXPECT_EQ(text, c.expectedText);
        EXPECT_EQ(result->location, start);
        EXPECT_EQ(result->length, c.newLength);
        EXPECT_LE(result->location + result->length, text.size());
    }
}

class MarkupButtons : public EditorTest {};

TEST_F(MarkupButtons, ActOnlyOnTheFocusedEditableEditorAndUndoInOneStep) {
    auto view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
    auto* bold = view->view()->findChild<QPushButton*>("boldButton");
    QPlainTextEdit* editor = view->dialogTextView();
    auto line = view->viewSubtitle()->subtitleLinesArray()[0];
    selectRows(*view, {0});
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);

    view->subtitleTable()->setFocus();  // focus elsewhere: nothing
    bold->click();
    EXPECT_EQ(line->unformattedTextSRT(), "first");

    editor->setFocus();
    bold->click();
    EXPECT_TRUE(editor->hasFocus());  // the button never takes it
    EXPECT_EQ(line->unformattedTextSRT(), "<b>first</b>");
    EXPECT_EQ(editor->textCursor().selectedText(), "<b>first</b>");
    editor->undo();
    EXPECT_EQ(line->unformattedTextSRT(), "first");

    selectRows(*view, {0, 1});  // read-only editor: nothing
    editor->setFocus();
    editor->selectAll();
    bold->click();
    EXPECT_EQ(line->unformattedTextSRT(), "first");
}

}  // namespace
