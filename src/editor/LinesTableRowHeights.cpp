#include "editor/LinesTableRowHeights.h"

#include <QEvent>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

#include "common/AppVariables.h"
#include "editor/LinesTableDelegate.h"
#include "editor/UpdatesSuspended.h"
#include "platform/TextMeasurer.h"

namespace {

// What a row without a line asks.
constexpr double kEmptyRowHeight = 16.0;

}  // namespace

LinesTableRowHeights::LinesTableRowHeights(QTableView* table, SubtitleLinesTableModel* model,
                                           const LinesTableDelegate* delegate, QObject* parent)
    : QObject(parent), table_(table), model_(model), delegate_(delegate) {
    QHeaderView* rows = table->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    // Rows follow the Dialog column's width, also as the user drags it.
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == SubtitleLinesTableModel::dialogColumn)
            applyRowHeights(0, model_->rowCount() - 1);
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { measuredRows_.clear(); });
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { measureShownRows(currentRowInView()); });
    viewport_ = table->viewport();
    viewport_->installEventFilter(this);
    connect(viewport_, &QObject::destroyed, this, [this] { viewport_ = nullptr; });
    connect(model, &SubtitleLinesTableModel::rowHeightsNeeded, this,
            &LinesTableRowHeights::applyRowHeights);
}

LinesTableRowHeights::~LinesTableRowHeights() {
    if (viewport_) viewport_->removeEventFilter(this);
}

bool LinesTableRowHeights::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && viewport_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        measureShownRows(currentRowInView());
    return QObject::eventFilter(watched, event);
}

double LinesTableRowHeights::heightOfRow(int row) const {
    double height = dialogRowHeight(row);
    // An open dialog editor grows its row while the text is typed.
    if (delegate_ && delegate_->openDialogRow() == row)
        height = std::max(
            height, platform::TextMeasurer::cellHeight(delegate_->openDialogEditor()->toPlainText(),
                                                       AppVariables::dialogTableColumnWidth) +
                        3.0);
    return height;
}

void LinesTableRowHeights::noteHeightOfRows(const QList<int>& rows) {
    if (!table_) return;
    if (held_) {
        for (int row : rows) held_->include(row);
        return;
    }
    const UpdatesSuspended suspended(table_);
    QHeaderView* header = table_->verticalHeader();
    for (int row : rows)
        if (row >= 0 && row < header->count()) header->resizeSection(row, qRound(heightOfRow(row)));
}

void LinesTableRowHeights::applyRowHeights(int first, int last) {
    if (!table_ || !model_ || first > last) return;
    const UpdatesSuspended suspended(table_);
    const bool keepCurrent = currentRowInView();
    QHeaderView* header = table_->verticalHeader();
    const int rows = model_->rowCount();
    for (int row = first; row <= last && row < rows; ++row)
        header->resizeSection(row, qRound(knownRowHeight(row)));
    const int openRow = delegate_ ? delegate_->openDialogRow() : -1;
    if (openRow >= first) noteHeightOfRows({openRow});
    measureShownRows(keepCurrent);
}

void LinesTableRowHeights::holdBack() {
    held_.emplace();
}

void LinesTableRowHeights::release() {
    const std::optional<HeldRows> rows = std::exchange(held_, std::nullopt);
    if (rows && rows->first >= 0) applyRowHeights(rows->first, rows->last);
}

bool LinesTableRowHeights::currentRowInView() const {
    if (!table_) return false;
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return false;
    const int top = table_->rowViewportPosition(current.row());
    return top >= 0 && top + table_->rowHeight(current.row()) <= table_->viewport()->height();
}

void LinesTableRowHeights::measureShownRows(bool keepCurrent) {
    if (!table_ || !model_ || held_ || measuring_ || model_->rowCount() == 0) return;
    // Scrolling to the current row below runs this again: the loop here
    // measures what that brings into view.
    const QScopedValueRollback measuring(measuring_, true);
    measureRowsInView();
    for (int round = 0; keepCurrent && !currentRowInView() && round < 4; ++round) {
        // The scroll range holds the old heights until the table lays itself
        // out on its own time: a scroll now would stop short of the new ones.
        table_->doItemsLayout();
        // Up and down only: the user's place across the columns stays.
        QScrollBar* across = table_->horizontalScrollBar();
        const int x = across->value();
        table_->scrollTo(table_->currentIndex());
        across->setValue(x);
        measureRowsInView();
    }
}

void LinesTableRowHeights::measureRowsInView() {
    const int rows = model_->rowCount();
    QHeaderView* header = table_->verticalHeader();
    const int viewHeight = table_->viewport()->height();
    // Rows that grow push others out of view and rows that shrink bring
    // others in: measure until the shown range holds still.
    for (int pass = 0; pass < 4; ++pass) {
        const int first = std::max(0, table_->rowAt(0));
        int last = table_->rowAt(std::max(0, viewHeight - 1));
        if (last < 0) last = rows - 1;
        bool changed = false;
        for (int row = first; row <= last; ++row) {
            const int height = qRound(heightOfRow(row));
            if (header->sectionSize(row) != height) {
                header->resizeSection(row, height);
                changed = true;
            }
        }
        if (!changed) break;
    }
}

int LinesTableRowHeights::dialogColumnWidth() const {
    return table_->horizontalHeader()->sectionSize(SubtitleLinesTableModel::dialogColumn);
}

double LinesTableRowHeights::knownRowHeight(int row) const {
    const SCSubtitleLinePtr line = model_->lineAt(row);
    if (!line) return kEmptyRowHeight;
    // A row laid out at this width keeps its height; the others take the
    // line's own measure until they come into view.
    const auto found = measuredRows_.constFind(line.get());
    if (found != measuredRows_.constEnd() && found->display == line->masterText().formattedText() &&
        found->width == dialogColumnWidth())
        return found->height;
    return line->textTableRowHeight();
}

double LinesTableRowHeights::dialogRowHeight(int row) const {
    const SCSubtitleLinePtr line = model_ && table_ ? model_->lineAt(row) : nullptr;
    if (!line) return kEmptyRowHeight;
    // The line's own height is measured at a fixed width and would cut rows
    // of a narrower column.
    const auto display = line->masterText().formattedText();
    if (!display) return line->textTableRowHeight();
    const int width = dialogColumnWidth();
    MeasuredRow& measured = measuredRows_[line.get()];
    if (measured.display != display || measured.width != width) {
        measured = {display, width,
                    std::ceil(LinesTableDelegate::dialogCellHeight(*display, width, table_))};
    }
    return measured.height;
}
