#pragma once

#include <QTableView>

// The lines table. A keyboard move selects the row it lands on, with or
// without Ctrl (Ctrl+End, Ctrl+Home, Ctrl+arrows): the dialog editor shows
// the selected line, so a move that left the selection behind would have the
// user type into a line out of view. Shift still extends the selection. A
// left click on a row's include check box switches it and does nothing
// else: it selects no row and starts no edit.
class LinesTableView : public QTableView {
    Q_OBJECT

  public:
    explicit LinesTableView(QWidget* parent = nullptr);

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The include check box under a left click; invalid for any other.
    QModelIndex includeBoxClicked(const QMouseEvent* event) const;
};
