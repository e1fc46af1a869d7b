#include "editor/SubtitleStylesTableModel.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "formatting/SCStyle.h"

SubtitleStylesTableModel::SubtitleStylesTableModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("stylesTableController"));
}

void SubtitleStylesTableModel::setSubtitle(std::shared_ptr<SCSubtitle> subtitle) {
    disconnect(stylesConnection_);
    subtitle_ = std::move(subtitle);
    if (subtitle_)
        stylesConnection_ = connect(subtitle_.get(), &SCSubtitle::subtitleStylesArrayChanged, this,
                                    &SubtitleStylesTableModel::stylesArrayChanged);
    stylesArrayChanged();
}

void SubtitleStylesTableModel::stylesArrayChanged() {
    beginResetModel();
    for (const auto& style : styles_) style->disconnect(this);
    styles_ = subtitle_ ? subtitle_->subtitleStylesArray() : SCStyleList{};
    watchStyles();
    endResetModel();
}

void SubtitleStylesTableModel::watchStyles() {
    for (int row = 0; row < styles_.size(); ++row) {
        const auto changed = [this, row] {
            emit dataChanged(index(row, 0), index(row, numberOfColumns - 1));
        };
        connect(styles_[row].get(), &SCStyle::theStateChanged, this, changed);
        connect(styles_[row].get(), &SCStyle::NameChanged, this, changed);
    }
}

SCStylePtr SubtitleStylesTableModel::styleAt(int row) const {
    return row >= 0 && row < styles_.size() ? styles_[row] : nullptr;
}

SCStyleList SubtitleStylesTableModel::selectedObjects() const {
    SCStyleList selected;
    if (!selection_) return selected;
    QList<int> rows;
    for (const QModelIndex& index : selection_->selectedRows()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    for (int row : rows)
        if (auto style = styleAt(row)) selected.append(style);
    return selected;
}

int SubtitleStylesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(styles_.size());
}

int SubtitleStylesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(numberOfColumns);
}

QVariant SubtitleStylesTableModel::data(const QModelIndex& index, int role) const {
    const SCStylePtr style = styleAt(index.row());
    if (!style) return {};
    if (index.column() == stateColumn && role == Qt::CheckStateRole)
        return style->theState() ? Qt::Checked : Qt::Unchecked;
    if (index.column() == nameColumn && (role == Qt::DisplayRole || role == Qt::EditRole))
        return style->Name();
    return {};
}

bool SubtitleStylesTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const SCStylePtr style = styleAt(index.row());
    if (!style || index.column() != stateColumn || role != Qt::CheckStateRole) return false;
    // The style holds the new state before the check box's action runs.
    style->setTheState(value.value<Qt::CheckState>() == Qt::Checked);
    emit stateCheckBoxToggled(index.row());
    return true;
}

Qt::ItemFlags SubtitleStylesTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == stateColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SubtitleStylesTableModel::headerData(int section, Qt::Orientation orientation,
                                              int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == nameColumn ? QStringLiteral("Style") : QString();
}
