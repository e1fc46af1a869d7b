#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "DialogCellInk.h"
#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"
#include "formatting/SCStyle.h"

using editortest::EditorTest;

namespace {

class Tables : public EditorTest {
  protected:
    // An SRT view of one of the editor's own files, shown.
    std::unique_ptr<SCViewControllerSRT> shownEditorFile(const QString& name) {
        auto view = makeView<SCViewControllerSRT>();
        documenttest::load(view->viewSubtitle(),
                           QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor/") + name),
                           subtitleTypes::srt);
        host.show(view->view());
        testsupport::drainMainQueue();
        return view;
    }
};

TEST_F(Tables, ListsGrownAtTheEndInsertRowsOthersResetAndReloadsKeepTheSelection) {
    auto view = shownView<SCViewControllerSRT>("overlap.srt", subtitleTypes::srt);
    auto* model = view->subtitleTableController();
    auto subtitle = view->viewSubtitle();
    selectRows(*view, {1});
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);

    SCSubtitleLineList lines = subtitle->subtitleLinesArray();
    auto extra = lines.first()->copy();
    extra->setUnformattedTextSRT("third\nline");
    lines.append(extra);
    subtitle->setSubtitleLinesArray(lines);  // a picture line arriving
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(view->selectedRow(), 1);
    // The new row is measured: it shows both its lines.
    EXPECT_TRUE(editortest::showsItsWholeDialog(view->subtitleTable(), 2));
    EXPECT_GT(view->subtitleTable()->rowHeight(2), 1.5 * view->subtitleTable()->rowHeight(1));

    view->reloadData();
    EXPECT_EQ(view->selectedRow(), 1);
    EXPECT_EQ(view->dialogText(), "second");

    lines.removeFirst();
    subtitle->setSubtitleLinesArray(lines);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(view->selectedRow(), -1);
}

TEST_F(Tables, AStyleEditorFollowsTheSelectedStyleThroughTheTransformers) {
    auto view = shownView<SCViewControllerASS>("two-styles.ass", subtitleTypes::ass);
    QWidget* layout = view->view();
    auto* bold = layout->findChild<QCheckBox*>("boldStyleCheckBox");
    auto* font = layout->findChild<QComboBox*>("fontPopUp");
    EXPECT_FALSE(bold->isEnabled());  // no style selected

    view->stylesTable()->selectRow(1);  // "Sign": not bold, alignment 8
    const SCStylePtr sign = view->viewSubtitle()->subtitleStylesArray()[1];
    EXPECT_TRUE(bold->isEnabled());
    EXPECT_FALSE(bold->isChecked());
    EXPECT_EQ(font->currentText(), "DejaVu Sans");
    EXPECT_TRUE(layout->findChild<QToolButton*>("alignmentCell1")->isChecked());

    bold->click();
    EXPECT_EQ(sign->Bold(), "-1");
    layout->findChild<QToolButton*>("alignmentCell6")->click();
    EXPECT_EQ(sign->Alignment(), "1");
    layout->findChild<QDoubleSpinBox*>("outlineField")->setValue(3.5);
    EXPECT_EQ(sign->Outline(), 3.5);
    sign->setItalic("-1");
    EXPECT_TRUE(layout->findChild<QCheckBox*>("italicStyleCheckBox")->isChecked());

    // The include check box writes the style's flag.
    auto* model = view->stylesTableController();
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(sign->theState());
}

}  // namespace

namespace {

TEST_F(Tables, RowsOfTaggedLinesHoldTheirWholeTextAtTheColumnsWidth) {
    auto view = shownView<SCViewControllerASS>("override-tags.ass", subtitleTypes::ass);
    QTableView* table = view->subtitleTable();
    auto* spell = view->view()->findChild<QCheckBox*>("spellCheckSwitch");
    ASSERT_EQ(view->subtitleTableController()->rowCount(), 7);
    // Spell check on (the narrower column), off, and on again.
    for (int pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        if (pass > 0) QTest::mouseClick(spell, Qt::LeftButton);
        EXPECT_EQ(spell->isChecked(), pass != 1);
        for (int row = 0; row < 7; ++row) {
            EXPECT_TRUE(editortest::showsItsWholeDialog(table, row));
            // No empty line besides: less room than a line of 14-point text
            // (18.7 pixels) beyond the text's ink.
            EXPECT_LT(table->rowHeight(row) -
                          editortest::dialogCellInk(table, row, table->rowHeight(row)).height(),
                      18)
                << row;
        }
    }
}

TEST_F(Tables, AKeyboardMoveSelectsTheRowItLandsOn) {
    auto view = shownEditorFile("twelve.srt");
    QTableView* table = view->subtitleTable();
    auto* model = view->subtitleTableController();
    const int last = model->rowCount() - 1;
    ASSERT_EQ(last, 11);
    const auto selectedRows = [&] {
        QList<int> rows;
        for (const QModelIndex& index : table->selectionModel()->selectedRows())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QList<int> selected;  // rows selected afterwards
        int current;
    };
    const auto range = [](int from, int to) {
        QList<int> rows;
        for (int row = from; row <= to; ++row) rows.append(row);
        return rows;
    };
    const Case cases[] = {
        {Qt::Key_End, Qt::ControlModifier, {last}, last},
        {Qt::Key_Home, Qt::ControlModifier, {0}, 0},
        {Qt::Key_PageDown, Qt::NoModifier, {-1}, -1},  // somewhere further down
        {Qt::Key_PageUp, Qt::NoModifier, {0}, 0},
        {Qt::Key_Down, Qt::ControlModifier, {1}, 1},
        {Qt::Key_Down, Qt::NoModifier, {2}, 2},
        {Qt::Key_Up, Qt::ControlModifier, {1}, 1},
        // Shift still extends the selection from where it began.
        {Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier, range(1, last), last},
        {Qt::Key_Home, Qt::ControlModifier, {0}, 0},
    };
    QTest::mouseClick(
        table->viewport(), Qt::LeftButton, {},
        table->visualRect(model->index(0, SubtitleLinesTableModel::dialogColumn)).center());
    ASSERT_EQ(selectedRows(), QList<int>({0}));
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(int(c.key) | int(c.modifiers)).toString().toStdString());
        QTest::keyClick(table, c.key, c.modifiers);
        const int current = table->currentIndex().row();
        if (c.current >= 0) {
            EXPECT_EQ(current, c.current);
            EXPECT_EQ(selectedRows(), c.selected);
        } else {
            EXPECT_GT(current, 0);
            EXPECT_EQ(selectedRows(), QList<int>({current}));
        }
        // The dialog editor shows the line the move landed on (the topmost
        // of an extended selection).
        const QList<int> rows = selectedRows();
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(view->dialogTextView()->toPlainText(),
                  model->lineAt(rows.first())->unformattedTextSRT());
    }
}

// A long film's lines in the editing view: its rows, laid out at the Dialog
// column's width as they come into view, are taller than each line claims.
TEST_F(Tables, CtrlEndFromTheTopShowsTheWholeLastRow) {
    auto view = shownEditorFile("harbour-long.srt");
    QTableView* table = view->subtitleTable();
    auto* model = view->subtitleTableController();
    const int last = model->rowCount() - 1;
    ASSERT_EQ(last, 149);
    const auto cell = [&](int row) {
        return table->visualRect(model->index(row, SubtitleLinesTableModel::dialogColumn));
    };
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell(0).center());
    QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);
    testsupport::drainMainQueue();
    EXPECT_EQ(view->selectedRow(), last);
    EXPECT_TRUE(table->viewport()->rect().contains(cell(last)))
        << "row at " << cell(last).top() << "+" << cell(last).height() << " in a view of "
        << table->viewport()->height();
    EXPECT_TRUE(editortest::showsItsWholeDialog(table, last));
}

}  // namespace
