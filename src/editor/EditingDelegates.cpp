#include "editor/EditingDelegates.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "editor/LinesTableDelegate.h"
#include "editor/SCMainViewController.h"

void EditingDelegates::controlTextDidChange(SCMainViewController& view, QLineEdit* field) {
    if (!field) return;
    SCTimeValidator& validator = view.timeValidator();
    const int column = LinesTableDelegate::columnOfEditor(field);
    if (column >= 0) {
        if (column != SubtitleLinesTableModel::startColumn &&
            column != SubtitleLinesTableModel::endColumn)
            return;
        // The cell's value is the line's time text of the view's form.
        QPointer<SubtitleLinesTableModel> model = view.subtitleTableController();
        const QModelIndex index = model->index(LinesTableDelegate::rowOfEditor(field), column);
        validator.validateTimeTextOfForm(
            view.isSRTView() ? SCTimeValidator::srtForm : SCTimeValidator::assForm, *field,
            [model, index](const QString& text) {
                if (model) model->setData(index, text, Qt::EditRole);
            });
        if (view.viewSubtitle()) view.viewSubtitle()->findTimeConflicts();
        return;
    }
    SCMainViewController* v = &view;
    if (field->objectName() == u"timeFieldSRT")
        validator.validateTimeTextOfForm(
            SCTimeValidator::srtForm, *field,
            [v](const QString& text) { v->setTimeAdjustTextSRT(text); });
    else if (field->objectName() == u"timeFieldASS")
        validator.validateTimeTextOfForm(
            SCTimeValidator::assForm, *field,
            [v](const QString& text) { v->setTimeAdjustTextASS(text); });
}

void EditingDelegates::timeCellEditCancelled(SCMainViewController& view, int row, int column,
                                             double secondsBefore) {
    SubtitleLinesTableModel* model = view.subtitleTableController();
    const SCSubtitleLinePtr line = model ? model->lineAt(row) : nullptr;
    if (!line) return;
    if (column == SubtitleLinesTableModel::startColumn)
        line->setUserStartTimeDouble(secondsBefore);
    else if (column == SubtitleLinesTableModel::endColumn)
        line->setUserEndTimeDouble(secondsBefore);
    else
        return;
    model->reloadRows({row});
    if (view.viewSubtitle()) view.viewSubtitle()->findTimeConflicts();
}

bool EditingDelegates::doCommandBy(SCMainViewController& view, QPlainTextEdit* textView,
                                   const QString& command) {
    if (!textView) return false;
    if (command == u"insertNewline:") {
        textView->insertPlainText(QStringLiteral("\n"));
    } else if (command == u"deleteBackward:") {
        QTextCursor cursor = textView->textCursor();
        if (cursor.hasSelection())
            cursor.removeSelectedText();
        else
            cursor.deletePreviousChar();
        textView->setTextCursor(cursor);
    } else {
        return false;
    }
    const int row = LinesTableDelegate::rowOfEditor(textView);
    QTableView* table = view.subtitleTable();
    if (row >= 0 && table && textView->parentWidget() == table->viewport())
        view.noteHeightOfRows({row});
    return true;
}
