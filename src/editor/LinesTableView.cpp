#include "editor/LinesTableView.h"

#include <QKeyEvent>

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
