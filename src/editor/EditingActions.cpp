#include "editor/EditingActions.h"

#include <QAbstractButton>
#include <QTextCursor>

#include "common/TimeTexts.h"
#include "editor/MarkupToggle.h"
#include "editor/SCMainViewController.h"
#include "editor/TimeAdjustSheet.h"
#include "formatting/SCStyle.h"

namespace {

QString titleOf(QObject* sender) {
    const auto* button = qobject_cast<const QAbstractButton*>(sender);
    return button ? button->text() : QString();
}

// The line's style as the style list has it: the first of that name.
SCStylePtr styleNamed(const SCSubtitle& subtitle, const QString& name) {
    for (const auto& style : subtitle.subtitleStylesArray())
        if (style->Name() == name) return style;
    return nullptr;
}

// Follows the line's style: only `isExcluded` changes, and only on a mismatch.
void followStyle(const SCSubtitle& subtitle, SCSubtitleLine& line) {
    const SCStylePtr style = styleNamed(subtitle, line.Style());
    if (!style) return;  // a style the list lacks: the line stays as it is
    if (style->theState() && line.isExcluded())
        line.setIsExcluded(false);
    else if (!style->theState() && !line.isExcluded())
        line.setIsExcluded(true);
}

void include(SCSubtitleLine& line, bool on) {
    if (on) {
        line.setIsExcluded(false);
        EditingActions::switchDisplay(line, true);
    } else if (!line.isExcluded()) {
        line.setIsExcluded(true);
        EditingActions::switchDisplay(line, false);
    }
}

void showDialogTextAgain(SCMainViewController& view) {
    view.setDialogText(view.dialogText());
}

}  // namespace

void EditingActions::switchDisplay(SCSubtitleLine& line, bool normal) {
    SSSubtitleDialog dialog = line.masterText();
    if (normal && !dialog.formattedTextSelected()) return;
    if (normal)
        dialog.switchDialogToSelected();
    else
        dialog.switchDialogToUnselected();
    line.setMasterText(dialog);
}

void EditingActions::textStyleButtonClicked(SCMainViewController& view, QObject* sender) {
    QPlainTextEdit* editor = view.dialogTextView();
    if (!editor || editor->isReadOnly() || editor->window()->focusWidget() != editor) return;
    QTextCursor cursor = editor->textCursor();
    const int location = cursor.selectionStart();
    const auto result =
        MarkupToggle::apply(editor->toPlainText(), location, cursor.selectionEnd() - location,
                            MarkupToggle::styleForTitle(titleOf(sender)), view.isSRTView());
    if (!result) return;
    // Through the editor, as typing: one step to undo.
    cursor.insertText(result->replacement);
    cursor.setPosition(result->location);
    cursor.setPosition(result->location + result->length, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

void EditingActions::nextLine(SCMainViewController& view) {
    const int row = view.selectedRow();
    if (row < view.subtitleTableController()->rowCount() - 1) view.selectOnlyRow(row + 1, true);
}

void EditingActions::previousLine(SCMainViewController& view) {
    const int row = view.selectedRow();
    if (row > 0) view.selectOnlyRow(row - 1, true);
}

void EditingActions::excludeLineCheckBox(SCMainViewController& view, int row) {
    const SCSubtitleLinePtr line = view.subtitleTableController()->lineAt(row);
    if (!line || !view.viewSubtitle()) return;  // no row, or no line behind it
    view.viewSubtitle()->findTimeConflicts();
    switchDisplay(*line, !line->isExcluded());
    view.reloadRows({row});
}

void EditingActions::includeStyleCheckBox(SCMainViewController& view, int row) {
    const SCStylePtr style = view.stylesTableController()->styleAt(row);
    const auto subtitle = view.viewSubtitle();
    if (!style || !subtitle) return;
    const bool on = style->theState();
    for (const auto& line : subtitle->subtitleLinesArray())
        if (line->Style() == style->Name()) include(*line, on);
    subtitle->findTimeConflicts();
    view.reloadData();
}

void EditingActions::allNoneStylesButton(SCMainViewController& view, const QString& title) {
    const auto subtitle = view.viewSubtitle();
    if (!subtitle) return;
    const bool all = title.toLower() == u"all";
    for (const auto& style : subtitle->subtitleStylesArray()) style->setTheState(all);
    for (const auto& line : subtitle->subtitleLinesArray()) include(*line, all);
    subtitle->findTimeConflicts();
    view.reloadData();
}

void EditingActions::cleanTextLine(SCMainViewController& view) {
    const int row = view.selectedRow();
    const SCSubtitleLinePtr line = view.subtitleTableController()->lineAt(row);
    if (!line) return;
    line->removeFormattingFromText();
    view.noteHeightOfRows({row});
    view.reloadRows({row});
    showDialogTextAgain(view);
}

void EditingActions::cleanTextAll(SCMainViewController& view) {
    const auto subtitle = view.viewSubtitle();
    if (!subtitle) return;
    view.forEachRowSuspended([&](int row, SCSubtitleLine& line) {
        line.removeFormattingFromText();
        view.noteHeightOfRows({row});
        view.reloadRows({row});
    });
    showDialogTextAgain(view);
}

void EditingActions::resetLine(SCMainViewController& view, const QString& title) {
    const int row = view.selectedRow();
    const SCSubtitleLinePtr line = view.subtitleTableController()->lineAt(row);
    const auto subtitle = view.viewSubtitle();
    if (!line || !subtitle) return;
    if (title == u"Reset Times") {
        line->resetTimesToOriginal();
        subtitle->findTimeConflicts();
    } else if (title == u"Reset Dialog") {
        line->resetDialogToOriginal();
        view.noteHeightOfRows({row});
        showDialogTextAgain(view);
    } else if (title == u"Reset Style") {
        line->resetStyleToOriginal();
        followStyle(*subtitle, *line);
        subtitle->findTimeConflicts();
    }
    view.reloadRows({row});
}

void EditingActions::resetAll(SCMainViewController& view, const QString& title) {
    const auto subtitle = view.viewSubtitle();
    if (!subtitle) return;
    if (title == u"Reset Times") {
        view.forEachRowSuspended([&](int row, SCSubtitleLine& line) {
            line.resetTimesToOriginal();
            view.reloadRows({row});
        });
        subtitle->findTimeConflicts();
    } else if (title == u"Reset Dialog") {
        view.forEachRowSuspended([&](int row, SCSubtitleLine& line) {
            line.resetDialogToOriginal();
            view.noteHeightOfRows({row});
            view.reloadRows({row});
        });
        showDialogTextAgain(view);
    } else if (title == u"Reset Style") {
        view.forEachRowSuspended([&](int row, SCSubtitleLine& line) {
            line.resetStyleToOriginal();
            followStyle(*subtitle, line);
            view.reloadRows({row});
        });
        subtitle->findTimeConflicts();
    }
}

namespace {

// The amount in the view's own form; none when it reads as no time.
std::optional<double> adjustAmount(const SCMainViewController& view) {
    return doubleTimeFromStringTime(view.isSRTView() ? view.timeAdjustTextSRT()
                                                     : view.timeAdjustTextASS());
}

}  // namespace

void EditingActions::timeShift(SCMainViewController& view) {
    const auto amount = adjustAmount(view);
    if (!amount || !view.viewSubtitle()) return;
    const auto result =
        view.viewSubtitle()->shiftTimesByDoubleTime(*amount, view.timeAdjustDirection());
    view.reloadData();
    TimeAdjustSheet::show(view, TimeAdjustSheet::Action::shift, *amount, result);
}

void EditingActions::timeStretch(SCMainViewController& view) {
    const auto amount = adjustAmount(view);
    if (!amount || !view.viewSubtitle()) return;
    const auto result =
        view.viewSubtitle()->stretchTimesByDoubleTime(*amount, view.timeAdjustDirection());
    view.reloadData();
    TimeAdjustSheet::show(view, TimeAdjustSheet::Action::stretch, *amount, result);
}
