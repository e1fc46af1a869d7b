#include "editor/LinesTableDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "editor/EditingDelegates.h"
#include "editor/SCMainViewController.h"
#include "editor/SubtitleLinesTableModel.h"
#include "platform/AttributedText.h"
#include "platform/TextMeasurer.h"

namespace {

const char* const kRow = "quillmarRow";
const char* const kColumn = "quillmarColumn";
// Set once the user has changed a time editor: updates of the model no
// longer reset it.
const char* const kEdited = "quillmarEdited";
// The line's time when a time editor opened, for Escape to put back.
const char* const kTimeBefore = "quillmarTimeBefore";

// Space above and below a dialog cell's text.
constexpr double kTopInset = 1.0;
constexpr double kBottomInset = 2.0;

// The display text's sizes are points, drawn with one point per pixel.
double pointScale(const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiY() : 96.0;
    return dpi > 0 ? 72.0 / dpi : 1.0;
}

// The display text laid out into `width` pixels at that scale.
std::unique_ptr<QTextDocument> laidOut(const platform::AttributedText& display, double width,
                                       double scale) {
    auto document = display.toTextDocument();
    document->setDocumentMargin(0.0);
    document->setTextWidth(width / scale);
    return document;
}

bool isTimeColumn(int column) {
    return column == SubtitleLinesTableModel::startColumn ||
           column == SubtitleLinesTableModel::endColumn;
}

}  // namespace

LinesTableDelegate::LinesTableDelegate(SCMainViewController* controller, QObject* parent)
    : QStyledItemDelegate(parent), controller_(controller) {}

QWidget* LinesTableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QWidget* editor = nullptr;
    if (isTimeColumn(index.column())) {
        auto* field = new QLineEdit(parent);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        connect(field, &QLineEdit::textEdited, this, [this, field] {
            field->setProperty(kEdited, true);
            controller_->controlTextDidChange(field);
        });
        editor = field;
    } else if (index.column() == SubtitleLinesTableModel::dialogColumn) {
        auto* text = new QPlainTextEdit(parent);
        text->setFrameShape(QFrame::NoFrame);
        text->setTabChangesFocus(true);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        dialogEditor_ = text;
        editor = text;
    } else {
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    tagEditor(editor, index.row(), index.column());
    return editor;
}

void LinesTableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString value = index.data(Qt::EditRole).toString();
    if (auto* field = qobject_cast<QLineEdit*>(editor)) {
        if (field->property(kEdited).toBool() || field->text() == value) return;
        const bool starting = field->text().isEmpty();
        field->setText(value);
        if (starting) {
            if (const auto line = controller_->subtitleTableController()->lineAt(index.row()))
                field->setProperty(kTimeBefore,
                                   index.column() == SubtitleLinesTableModel::startColumn
                                       ? line->userStartTimeDouble()
                                       : line->userEndTimeDouble());
            controller_->controlTextShouldBeginEditing(value);
        }
        return;
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(editor)) {
        if (text->document()->isModified() || text->toPlainText() == value) return;
        text->setPlainText(value);
        text->moveCursor(QTextCursor::End);
        controller_->controlTextShouldBeginEditing(value);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void LinesTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* field = qobject_cast<QLineEdit*>(editor))
        model->setData(index, field->text(), Qt::EditRole);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(editor))
        model->setData(index, text->toPlainText(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

void LinesTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const auto display = index.data(SubtitleLinesTableModel::DisplayTextRole)
                             .value<std::shared_ptr<platform::AttributedText>>();
    if (index.column() != SubtitleLinesTableModel::dialogColumn || !display) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const double scale = pointScale(widget);
    const QRectF area = QRectF(option.rect)
                            .adjusted(platform::TextMeasurer::kCellInset, kTopInset,
                                      -platform::TextMeasurer::kCellInset, 0.0);
    const auto document = laidOut(*display, area.width(), scale);
    const double height = document->size().height() * scale;
    painter->save();
    painter->setClipRect(option.rect);
    painter->translate(area.left(), area.top() + std::max(0.0, (area.height() - height) / 2.0));
    painter->scale(scale, scale);
    QAbstractTextDocumentLayout::PaintContext context;
    if (option.state & QStyle::State_Selected)
        context.palette.setColor(QPalette::Text, option.palette.color(QPalette::HighlightedText));
    document->documentLayout()->draw(painter, context);
    painter->restore();
}

double LinesTableDelegate::dialogCellHeight(const platform::AttributedText& display,
                                            double cellWidth, const QWidget* widget) {
    const double scale = pointScale(widget);
    const double width = cellWidth - 2 * platform::TextMeasurer::kCellInset;
    return laidOut(display, width, scale)->size().height() * scale + kTopInset + kBottomInset;
}

int LinesTableDelegate::openDialogRow() const {
    return dialogEditor_ ? rowOfEditor(dialogEditor_) : -1;
}

void LinesTableDelegate::tagEditor(QWidget* editor, int row, int column) {
    editor->setProperty(kRow, row);
    editor->setProperty(kColumn, column);
}

int LinesTableDelegate::rowOfEditor(const QObject* editor) {
    const QVariant row = editor ? editor->property(kRow) : QVariant();
    return row.isValid() ? row.toInt() : -1;
}

int LinesTableDelegate::columnOfEditor(const QObject* editor) {
    const QVariant column = editor ? editor->property(kColumn) : QVariant();
    return column.isValid() ? column.toInt() : -1;
}

bool LinesTableDelegate::eventFilter(QObject* watched, QEvent* event) {
    auto* text = qobject_cast<QPlainTextEdit*>(watched);
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        field->property(kEdited).toBool() && field->property(kTimeBefore).isValid()) {
        // The edit is given up, as in a dialog cell: the base class closes
        // the editor without writing it.
        EditingDelegates::timeCellEditCancelled(*controller_, rowOfEditor(field),
                                                columnOfEditor(field),
                                                field->property(kTimeBefore).toDouble());
    }
    if (text && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return controller_->doCommandBy(text, QStringLiteral("insertNewline:"));
        if (plain && key->key() == Qt::Key_Backspace)
            return controller_->doCommandBy(text, QStringLiteral("deleteBackward:"));
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}
