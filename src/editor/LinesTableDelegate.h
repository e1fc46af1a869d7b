#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <memory>

namespace platform {
class AttributedText;
}

class SCMainViewController;

// Cell editing of the lines table: time cells (columns 2 and 3) edit in a
// single-line field that the view's validator keeps in its form as the user
// types; dialog cells edit in a multi-line editor where Return inserts a
// line break and Return and Backspace have the row measured again. Dialog
// cells are drawn from the line's display text, with its markup.
class LinesTableDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    LinesTableDelegate(SCMainViewController* controller, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The open dialog editor and its row; null and -1 when none is open.
    QPlainTextEdit* openDialogEditor() const { return dialogEditor_; }
    int openDialogRow() const;

    // The height a dialog cell of that width needs for the display text as
    // `paint` draws it (tags and markup included), its insets with it.
    static double dialogCellHeight(const platform::AttributedText& display, double cellWidth,
                                   const QWidget* widget);

    // Marks an editor as the one of a cell of the lines table.
    static void tagEditor(QWidget* editor, int row, int column);
    // The cell an editor made here belongs to; -1 for any other widget.
    static int rowOfEditor(const QObject* editor);
    static int columnOfEditor(const QObject* editor);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SCMainViewController* controller_;
    mutable QPointer<QPlainTextEdit> dialogEditor_;
};
