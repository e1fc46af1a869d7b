#include "editor/LinesTableRowHeights.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>

#include "document/SCSubtitle.h"
#include "editor/LinesTableDelegate.h"
#include "editor/LinesTableView.h"
#include "editor/SubtitleLinesTableModel.h"
#include "support/EventLoop.h"

namespace {

// The height every line claims for itself here: more than any of their
// texts needs, so a row that keeps it was not laid out.
constexpr int kOwnHeight = 90;
constexpr int kLines = 100;

// Texts of one to three lines, of letters without ascenders or
// descenders: each drawn line is a band of ink apart from the next.
QString textOfLines(int count) {
    const QStringList words{"oooo", "uuuu", "aaaa"};
    return QStringList(words.begin(), words.begin() + count).join(u'\n');
}

// A line of drawn text: pixel rows of a cell that hold ink, top to bottom,
// counted from the cell's top.
struct Band {
    int top, bottom;
};

// The lines table as the user meets it: lines with their own heights, a
// Dialog column of a set width, shown in a window of a set size.
class LinesTableRowHeightsTest : public ::testing::Test {
  protected:
    explicit LinesTableRowHeightsTest(int ownHeight = kOwnHeight) : ownHeight_(ownHeight) {}

    void SetUp() override {
        table.setModel(&model);
        table.setItemDelegate(&delegate);
        table.verticalHeader()->hide();
        for (int column = 0; column < SubtitleLinesTableModel::numberOfColumns; ++column)
            table.setColumnHidden(column, column != SubtitleLinesTableModel::dialogColumn);
        table.horizontalHeader()->resizeSection(SubtitleLinesTableModel::dialogColumn, 300);
        table.resize(400, 300);
        SCSubtitleLineList lines;
        for (int row = 0; row < kLines; ++row) {
            auto line = SCSubtitleLine::create();
            line->setUnformattedTextSRT(textOfLines(row % 3 + 1));
            line->setTextTableRowHeight(ownHeight_);
            lines.append(line);
        }
        subtitle->setSubtitleLinesArray(lines);
        model.setSubtitle(subtitle);
        table.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    }

    int rowHeight(int row) const { return table.verticalHeader()->sectionSize(row); }
    SCSubtitleLinePtr line(int row) const { return subtitle->subtitleLinesArray()[row]; }
    std::pair<int, int> rowsInView() const {
        return {table.rowAt(0), table.rowAt(table.viewport()->height() - 1)};
    }

    QRect dialogCell(int row) const {
        return table.visualRect(model.index(row, SubtitleLinesTableModel::dialogColumn));
    }

    // The lines of text the row's Dialog cell shows.
    QList<Band> drawnLines(int row) const {
        const QImage image = table.viewport()->grab().toImage();
        const QRect cell = dialogCell(row);
        const int background = qGray(image.pixel(cell.topLeft()));
        QList<Band> bands;
        bool inBand = false;
        for (int y = cell.top(); y <= cell.bottom() && y < image.height(); ++y) {
            bool ink = false;
            for (int x = cell.left(); x <= cell.right() && !ink; ++x)
                ink = std::abs(qGray(image.pixel(x, y)) - background) > 80;
            if (ink && !inBand)
                bands.append({y - cell.top(), y - cell.top()});
            else if (ink)
                bands.last().bottom = y - cell.top();
            inBand = ink;
        }
        return bands;
    }

    // Every line of the row's text is shown whole, and the row has no room
    // for another line besides.
    void expectHoldsItsTextExactly(int row, int textLines) {
        SCOPED_TRACE("row " + std::to_string(row));
        const QList<Band> bands = drawnLines(row);
        ASSERT_EQ(bands.size(), textLines);
        const int height = dialogCell(row).height();
        EXPECT_GT(bands.first().top, 0);
        EXPECT_LT(bands.last().bottom, height - 1);
        if (textLines > 1) {
            const int pitch = bands[1].top - bands[0].top;
            EXPECT_LT(rowHeight(row), (textLines + 1) * pitch);
        }
    }

    void expectRowsInViewHoldTheirText() {
        const auto [first, last] = rowsInView();
        ASSERT_GE(first, 0);
        ASSERT_GT(last, first);
        for (int row = first; row <= last; ++row) {
            // A row cut by an edge of the view shows only part of its text.
            if (!table.viewport()->rect().contains(dialogCell(row))) continue;
            expectHoldsItsTextExactly(row, row % 3 + 1);
        }
    }

    const int ownHeight_;
    std::shared_ptr<SCSubtitle> subtitle = SCSubtitle::create();
    SubtitleLinesTableModel model{true};
    LinesTableView table;
    LinesTableDelegate delegate{nullptr, &table};
    LinesTableRowHeights heights{&table, &model, &delegate};
};

TEST_F(LinesTableRowHeightsTest, RowsInViewHoldTheirWholeTextTheOthersKeepTheLinesOwnHeight) {
    expectRowsInViewHoldTheirText();
    EXPECT_LT(rowsInView().second, 40);
    for (int row : {40, 50, kLines - 1}) EXPECT_EQ(rowHeight(row), kOwnHeight) << row;

    // Scrolled to the end: the rows that come into view are laid out, the
    // ones passed over are not.
    table.verticalScrollBar()->setValue(table.verticalScrollBar()->maximum());
    // Rows that shrank leave the end short of the view's bottom until the
    // table has taken in their heights.
    ASSERT_TRUE(testsupport::spinUntil([&] { return rowsInView().second >= 0; }));
    EXPECT_GT(rowsInView().first, 60);
    expectRowsInViewHoldTheirText();
    EXPECT_EQ(rowHeight(50), kOwnHeight);

    // A longer text, noted, is laid out again.
    const int row = rowsInView().first + 1;
    line(row)->setUnformattedTextSRT(textOfLines(3) + "\noooo\nuuuu");
    heights.noteHeightOfRows({row});
    expectHoldsItsTextExactly(row, 5);
}

TEST_F(LinesTableRowHeightsTest, DraggingTheDialogColumnLaysTheRowsOutAgain) {
    // One line of three words; at its width the row is one line high.
    line(0)->setUnformattedTextSRT("oooo uuuu aaaa");
    heights.noteHeightOfRows({0});
    ASSERT_EQ(drawnLines(0).size(), 1);
    const int oneLine = rowHeight(0);
    // The width of one word and a half: each word on a line of its own.
    const QImage image = table.viewport()->grab().toImage();
    const QRect cell = dialogCell(0);
    int left = cell.right(), right = cell.left();
    const int background = qGray(image.pixel(cell.topLeft()));
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (std::abs(qGray(image.pixel(x, y)) - background) > 80) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int narrow = (right - left) / 2 + 4;

    // The user drags the column's right edge in.
    QHeaderView* header = table.horizontalHeader();
    const int edge = header->sectionViewportPosition(SubtitleLinesTableModel::dialogColumn) +
                     header->sectionSize(SubtitleLinesTableModel::dialogColumn) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge - 150, y));
    QTest::mouseMove(header->viewport(), QPoint(edge - 300 + narrow, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge - 300 + narrow, y));
    ASSERT_EQ(header->sectionSize(SubtitleLinesTableModel::dialogColumn), narrow);

    expectHoldsItsTextExactly(0, 3);
    EXPECT_GT(rowHeight(0), oneLine);
    for (int row = 1; row < rowsInView().second; ++row) expectHoldsItsTextExactly(row, row % 3 + 1);
    EXPECT_EQ(rowHeight(kLines - 1), kOwnHeight);

    // Dragged back out: one line again.
    header->resizeSection(SubtitleLinesTableModel::dialogColumn, 300);
    expectHoldsItsTextExactly(0, 1);
    EXPECT_EQ(rowHeight(0), oneLine);
}

TEST_F(LinesTableRowHeightsTest, NotesHeldBackAreAppliedOnceReleased) {
    const int before = rowHeight(0);
    heights.holdBack();
    line(0)->setUnformattedTextSRT(textOfLines(3) + "\noooo");
    heights.noteHeightOfRows({0});
    EXPECT_EQ(rowHeight(0), before);
    heights.release();
    expectHoldsItsTextExactly(0, 4);
}

// Lines that claim less than their texts need, as lines measured at a
// wider column do: rows grow as they are laid out.
class GrowingRowsTest : public LinesTableRowHeightsTest {
  protected:
    GrowingRowsTest() : LinesTableRowHeightsTest(16) {}

    bool whollyInView(int row) const { return table.viewport()->rect().contains(dialogCell(row)); }

    // The user clicks the scroll bar's groove above its handle: a page up.
    void clickAboveTheHandle() {
        QScrollBar* bar = table.verticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        const QRect above = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                         QStyle::SC_ScrollBarSubPage, bar);
        ASSERT_TRUE(above.isValid());
        QTest::mouseClick(bar, Qt::LeftButton, {}, above.center());
    }
};

TEST_F(GrowingRowsTest, CtrlEndLeavesTheLastRowWhollyInViewOnceItsRowsAreLaidOut) {
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, dialogCell(0).center());
    ASSERT_EQ(table.currentIndex().row(), 0);
    QTest::keyClick(&table, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(table.currentIndex().row(), kLines - 1);
    testsupport::drainMainQueue();
    // The rows around the end grew as they came into view, and the last row
    // was brought back whole.
    EXPECT_GT(rowHeight(kLines - 1), 16);
    EXPECT_TRUE(whollyInView(kLines - 1))
        << "row at " << dialogCell(kLines - 1).top() << "+" << dialogCell(kLines - 1).height()
        << " in a view of " << table.viewport()->height();
    expectRowsInViewHoldTheirText();
}

// How the user scrolls up, away from the current row at the end.
enum class ScrollUp { byTheScrollBar, byTheWheel };

const char* nameOf(ScrollUp way) {
    return way == ScrollUp::byTheScrollBar ? "ByTheScrollBar" : "ByTheWheel";
}

void PrintTo(ScrollUp way, std::ostream* out) {
    *out << nameOf(way);
}

class ScrollingAwayTest : public GrowingRowsTest, public ::testing::WithParamInterface<ScrollUp> {
  protected:
    void scrollUp() {
        if (GetParam() == ScrollUp::byTheScrollBar) {
            clickAboveTheHandle();
            return;
        }
        // Three notches at once.
        const QPointF at = table.viewport()->rect().center();
        QWheelEvent wheel(at, table.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 3 * 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(table.viewport(), &wheel);
    }
};

TEST_P(ScrollingAwayTest, IsNotUndoneAsRowsAreLaidOut) {
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, dialogCell(0).center());
    QTest::keyClick(&table, Qt::Key_End, Qt::ControlModifier);
    testsupport::drainMainQueue();
    ASSERT_TRUE(whollyInView(kLines - 1));

    // Up into rows not laid out yet: they grow as they come into view, and
    // the view stays where the user put it.
    QList<int> heightsBefore;
    for (int row = 0; row < kLines; ++row) heightsBefore.append(rowHeight(row));
    for (int step = 0; step < 3; ++step) {
        const int before = table.verticalScrollBar()->value();
        scrollUp();
        testsupport::drainMainQueue();
        EXPECT_LT(table.verticalScrollBar()->value(), before) << step;
    }
    ASSERT_GE(rowsInView().first, 0);
    EXPECT_EQ(heightsBefore[rowsInView().first], 16);
    EXPECT_LT(rowsInView().second, kLines - 1);
    expectRowsInViewHoldTheirText();

    // Later passes: the window grows taller, the Dialog column narrower. The
    // rows in view are laid out again, and still the view keeps its place.
    const std::function<void()> laterPasses[] = {
        [&] { table.resize(table.width(), table.height() + 120); },
        [&] {
            table.horizontalHeader()->resizeSection(SubtitleLinesTableModel::dialogColumn, 120);
        },
    };
    for (const auto& pass : laterPasses) {
        const int top = table.verticalScrollBar()->value();
        pass();
        testsupport::drainMainQueue();
        EXPECT_EQ(table.verticalScrollBar()->value(), top);
        EXPECT_FALSE(whollyInView(kLines - 1));
        EXPECT_EQ(table.currentIndex().row(), kLines - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Up, ScrollingAwayTest,
                         ::testing::Values(ScrollUp::byTheScrollBar, ScrollUp::byTheWheel),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

}  // namespace
