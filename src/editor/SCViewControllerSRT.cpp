#include "editor/SCViewControllerSRT.h"

#include <QPushButton>
#include <vector>

#include "editor/ConflictNavigation.h"
#include "ui_ViewSRT.h"

SCViewControllerSRT::SCViewControllerSRT(QObject* parent) : SCMainViewController(parent) {}

void SCViewControllerSRT::setUpLayout(QWidget* view) {
    Ui::ViewSRT ui;
    ui.setupUi(view);
}

void SCViewControllerSRT::layoutDidLoad() {
    testButton_ = view()->findChild<QPushButton*>(QStringLiteral("testButton"));
}

void SCViewControllerSRT::srtTestButton(QObject*) {
    reloadData();
    if (subtitleTable()) subtitleTable()->repaint();
}

void SCViewControllerSRT::fixConflictsButton(QObject*) {
    if (!viewSubtitle()) return;
    viewSubtitle()->fixTimeConflicts();
    reloadData();
}

void SCViewControllerSRT::goToNextConflict(QObject*) {
    goToConflict(true);
}

void SCViewControllerSRT::goToPreviousConflict(QObject*) {
    goToConflict(false);
}

std::pair<int, int> SCViewControllerSRT::shownRows() const {
    QTableView* table = subtitleTable();
    const int rows = subtitleTableController()->rowCount();
    if (!table || rows == 0) return {0, 0};
    const int first = std::max(0, table->rowAt(0));
    int last = table->rowAt(table->viewport()->height() - 1);
    if (last < 0) last = rows - 1;
    return {first, last - first + 1};
}

void SCViewControllerSRT::goToConflict(bool next) {
    if (!subtitleTable()) return;
    const SCSubtitleLineList& lines = subtitleTableController()->lines();
    std::vector<bool> marks;
    marks.reserve(std::size_t(lines.size()));
    for (const auto& line : lines) marks.push_back(!line->timeConflict().isEmpty());
    const auto [first, count] = shownRows();
    const auto jump = next ? ConflictNavigation::next(selectedRow(), marks, first, count)
                           : ConflictNavigation::previous(selectedRow(), marks, first, count);
    if (!jump) return;
    if (!jump->jump) {
        selectOnlyRow(jump->target, false);
        return;
    }
    QTableView* table = subtitleTable();
    const auto* model = subtitleTableController();
    // From the far end, so the table moves only as far as the scroll row.
    table->scrollTo(model->index(next ? 0 : model->rowCount() - 1, 0));
    table->setFocus();
    selectOnlyRow(jump->target, false);
    table->scrollTo(model->index(jump->scrollRow, 0));
}
