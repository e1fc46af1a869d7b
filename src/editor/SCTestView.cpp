#include "editor/SCTestView.h"

#include <QMouseEvent>

void SCTestView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
