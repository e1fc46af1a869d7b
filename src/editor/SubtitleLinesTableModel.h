#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <memory>
#include <vector>

#include "document/SCSubtitleLine.h"
#include "platform/AttributedText.h"

Q_DECLARE_METATYPE(std::shared_ptr<platform::AttributedText>)

class SCSubtitle;
class QItemSelectionModel;

// The lines table's model over a document's `subtitleLinesArray`, row r
// being line r, in the text form of its editing view (SRT or ASS). Its
// object name is "subtitleTableController": it stands where a layout's array
// controller would, and `selectedObjects` gives the selected lines.
//
// A list grown at its end becomes inserted rows (picture lines arrive one by
// one); any other new list resets the model. A line's own change refreshes
// its row: rows are watched from the moment they are first shown, and the
// refreshes of one turn of the event loop go out as one (a conflict search
// changes every line at once).
class SubtitleLinesTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column {
        includeColumn,  // check box, on when the line is not excluded
        numberColumn,
        startColumn,  // columns 2 and 3 are the times
        endColumn,
        dialogColumn,
        spellColumn,
        conflictColumn,
        numberOfColumns
    };
    // The line's display text (std::shared_ptr<platform::AttributedText>).
    static constexpr int DisplayTextRole = Qt::UserRole + 1;

    SubtitleLinesTableModel(bool srtForm, QObject* parent = nullptr);

    void setSubtitle(std::shared_ptr<SCSubtitle> subtitle);
    void setSelectionModel(QItemSelectionModel* selection) { selection_ = selection; }

    const SCSubtitleLineList& lines() const { return lines_; }
    SCSubtitleLinePtr lineAt(int row) const;
    // The selected lines in table order.
    SCSubtitleLineList selectedObjects() const;
    // The selected rows in table order.
    QList<int> selectedRows() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Every cell read again; rows, selection and editors stay.
    void reloadData();
    // The given rows read again in every column, at once.
    void reloadRows(const QList<int>& rows);

  signals:
    // Rows whose heights must be (re)applied: all after a reset, the new
    // ones after an insertion.
    void rowHeightsNeeded(int first, int last);
    // The check box of a row wrote the line's `isExcluded`.
    void includeCheckBoxToggled(int row);

  private:
    void linesArrayChanged();
    void watchRow(int row) const;
    void unwatchAll();
    void rowChanged(int row);
    void flushChangedRows();

    bool srtForm_;
    std::shared_ptr<SCSubtitle> subtitle_;
    QMetaObject::Connection linesConnection_;
    QItemSelectionModel* selection_ = nullptr;
    SCSubtitleLineList lines_;
    mutable std::vector<char> watched_;
    int changedFirst_ = -1;
    int changedLast_ = -1;
};
