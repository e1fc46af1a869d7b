#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTableView>
#include <algorithm>
#include <memory>
#include <optional>

#include "editor/HeldRows.h"
#include "editor/SubtitleLinesTableModel.h"

class LinesTableDelegate;

namespace platform {
class AttributedText;
}

// The row heights of the lines table. A row holds its dialog text as the
// Dialog column draws it, tags and markup included, laid out at the
// column's width now; an open dialog editor grows its row while the text is
// typed. Laying out every row of a large document on each change would hold
// the interface up, so rows are laid out exactly as they come into view
// (scrolled to, the table resized or shown, the column dragged); until then
// a row takes the line's own height, measured at a fixed width. A laid-out
// height is kept for its line while the line's display text and the
// column's width stay. Rows are resized with the table's drawing held back.
// Main thread only.
class LinesTableRowHeights : public QObject {
    Q_OBJECT

  public:
    // Sizes the table's rows from now on: after the model's resets and
    // insertions, as rows come into view and as the Dialog column's width
    // changes. The delegate (may be null) tells of an open dialog editor.
    LinesTableRowHeights(QTableView* table, SubtitleLinesTableModel* model,
                         const LinesTableDelegate* delegate, QObject* parent = nullptr);
    ~LinesTableRowHeights() override;

    // The height the row needs now: its dialog text at the column's width,
    // or what an open dialog editor needs, whichever is more.
    double heightOfRow(int row) const;
    // Asks the rows' heights again and applies them.
    void noteHeightOfRows(const QList<int>& rows);
    // Applies rows first to last: the height laid out for the line at this
    // width, else the line's own; then lays out the rows in view.
    void applyRowHeights(int first, int last);

    // From `holdBack` to `release` (a pass over every line), noted rows are
    // gathered and rows coming into view wait; `release` applies the
    // gathered rows at once.
    void holdBack();
    void release();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The row's height for its dialog text at the Dialog column's width.
    double dialogRowHeight(int row) const;
    // That height where the row was laid out already, else the line's own.
    double knownRowHeight(int row) const;
    // Whether the current row lies wholly in view, top to bottom.
    bool currentRowInView() const;
    // Lays out exactly the rows in view. A current row that was wholly in
    // view before the heights changed (also one just scrolled to) is
    // brought back into view; one the user scrolled away from is left.
    void measureShownRows(bool keepCurrent);
    // Lays out the rows in view until they hold still.
    void measureRowsInView();
    int dialogColumnWidth() const;

    QPointer<QTableView> table_;
    QPointer<SubtitleLinesTableModel> model_;
    QPointer<const LinesTableDelegate> delegate_;
    // Compared by address only: events arrive while it is being destroyed.
    QObject* viewport_ = nullptr;
    // Within measureShownRows, whose own scrolling calls it again.
    bool measuring_ = false;
    // The rows noted while held back.
    std::optional<HeldRows> held_;
    // Kept by line; the display text is held, so it cannot be another's.
    struct MeasuredRow {
        std::shared_ptr<const platform::AttributedText> display;
        int width = -1;
        double height = 0.0;
    };
    mutable QHash<const SCSubtitleLine*, MeasuredRow> measuredRows_;
};
