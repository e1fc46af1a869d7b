#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "document/SCSubtitle.h"

class QItemSelectionModel;

// The styles table's model over a document's `subtitleStylesArray`: a check
// box on the style's `theState`, then its `Name`. Object name
// "stylesTableController".
class SubtitleStylesTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { stateColumn, nameColumn, numberOfColumns };

    explicit SubtitleStylesTableModel(QObject* parent = nullptr);

    void setSubtitle(std::shared_ptr<SCSubtitle> subtitle);
    void setSelectionModel(QItemSelectionModel* selection) { selection_ = selection; }

    const SCStyleList& styles() const { return styles_; }
    SCStylePtr styleAt(int row) const;
    // The styles in table order (`arrangedObjects`) and the selected ones.
    const SCStyleList& arrangedObjects() const { return styles_; }
    SCStyleList selectedObjects() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  signals:
    // The check box of a row wrote the style's `theState`.
    void stateCheckBoxToggled(int row);

  private:
    void stylesArrayChanged();
    void watchStyles();

    std::shared_ptr<SCSubtitle> subtitle_;
    QMetaObject::Connection stylesConnection_;
    QItemSelectionModel* selection_ = nullptr;
    SCStyleList styles_;
};
