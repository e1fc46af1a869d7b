#include "editor/LinesTableView.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "editor/SubtitleLinesTableModel.h"

LinesTableView::LinesTableView(QWidget* parent) : QTableView(parent) {}

QItemSelectionModel::SelectionFlags LinesTableView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (event && event->type() == QEvent::KeyPress &&
        selectionMode() == QAbstractItemView::ExtendedSelection) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                // Ctrl only moves the current cell in Qt's own answer.
                if (key->modifiers() & Qt::ControlModifier)
                    return (key->modifiers() & Qt::ShiftModifier
                                ? QItemSelectionModel::SelectCurrent
                                : QItemSelectionModel::ClearAndSelect) |
                           QItemSelectionModel::Rows;
                break;
            default:
                break;
        }
    }
    return QTableView::selectionCommand(index, event);
}

QModelIndex LinesTableView::includeBoxClicked(const QMouseEvent* event) const {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() ||
        index.column() != SubtitleLinesTableModel::includeColumn)
        return {};
    return index;
}

void LinesTableView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex box = includeBoxClicked(event);
    if (!box.isValid()) {
        QTableView::mousePressEvent(event);
        return;
    }
    const bool on = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model()->setData(box, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void LinesTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!includeBoxClicked(event).isValid()) QTableView::mouseDoubleClickEvent(event);
}

void LinesTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (!includeBoxClicked(event).isValid()) QTableView::mouseReleaseEvent(event);
}
