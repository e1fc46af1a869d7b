#include "DialogCellInk.h"

#include <QAbstractItemDelegate>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <cstdlib>

#include "editor/SubtitleLinesTableModel.h"

namespace editortest {

namespace {

// How far from the cell's background a pixel of text is: the light grey of
// a line left out of the output is (85 from white), the faint edges of the
// letters' smoothing are not.
constexpr int kInk = 64;

}  // namespace

Ink dialogCellInk(QTableView* table, int row, int height) {
    const int column = SubtitleLinesTableModel::dialogColumn;
    const QModelIndex index = table->model()->index(row, column);
    QImage image(table->columnWidth(column), height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.initFrom(table->viewport());
    option.widget = table;
    option.font = table->font();
    option.rect = image.rect();
    option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    {
        QPainter painter(&image);
        table->itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    // The text keeps off the cell's top line.
    const int background = qGray(image.pixel(0, 0));
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (std::abs(qGray(line[x]) - background) < kInk) continue;
            if (ink.top < 0) ink.top = y;
            ink.bottom = y;
            break;
        }
    }
    return ink;
}

::testing::AssertionResult showsItsWholeDialog(QTableView* table, int row) {
    const int height = table->rowHeight(row);
    const Ink shown = dialogCellInk(table, row, height);
    // Room for two more lines of text above and below.
    const Ink whole = dialogCellInk(table, row, height + 100);
    if (whole.height() == 0) return ::testing::AssertionFailure() << "row " << row << ": no text";
    // The text is centred in its cell: drawn at another height it may land
    // on another pixel line, which can make its ink one line taller.
    if (std::abs(shown.height() - whole.height()) > 1 || shown.top < 1 || shown.bottom > height - 2)
        return ::testing::AssertionFailure()
               << "row " << row << " of height " << height << " shows ink on lines " << shown.top
               << " to " << shown.bottom << "; the whole text is " << whole.height()
               << " lines of ink";
    return ::testing::AssertionSuccess() << "row " << row << " of height " << height
                                         << " shows its " << whole.height() << " lines of ink";
}

}  // namespace editortest
