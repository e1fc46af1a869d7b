#include "editor/SubtitleLinesTableModel.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "document/SCSubtitle.h"
#include "platform/AttributedText.h"
#include "platform/ValueTransformer.h"

SubtitleLinesTableModel::SubtitleLinesTableModel(bool srtForm, QObject* parent)
    : QAbstractTableModel(parent), srtForm_(srtForm) {
    setObjectName(QStringLiteral("subtitleTableController"));
}

void SubtitleLinesTableModel::setSubtitle(std::shared_ptr<SCSubtitle> subtitle) {
    disconnect(linesConnection_);
    subtitle_ = std::move(subtitle);
    if (subtitle_)
        linesConnection_ = connect(subtitle_.get(), &SCSubtitle::subtitleLinesArrayChanged, this,
                                   &SubtitleLinesTableModel::linesArrayChanged);
    beginResetModel();
    unwatchAll();
    lines_ = subtitle_ ? subtitle_->subtitleLinesArray() : SCSubtitleLineList{};
    watched_.assign(std::size_t(lines_.size()), 0);
    endResetModel();
    if (!lines_.isEmpty()) emit rowHeightsNeeded(0, int(lines_.size()) - 1);
}

void SubtitleLinesTableModel::linesArrayChanged() {
    const SCSubtitleLineList& lines = subtitle_->subtitleLinesArray();
    const qsizetype before = lines_.size();
    if (lines.size() > before && std::equal(lines_.begin(), lines_.end(), lines.begin())) {
        beginInsertRows(QModelIndex(), int(before), int(lines.size()) - 1);
        lines_ = lines;
        watched_.resize(std::size_t(lines_.size()), 0);
        endInsertRows();
        emit rowHeightsNeeded(int(before), int(lines_.size()) - 1);
        return;
    }
    beginResetModel();
    unwatchAll();
    lines_ = lines;
    watched_.assign(std::size_t(lines_.size()), 0);
    changedFirst_ = changedLast_ = -1;
    endResetModel();
    if (!lines_.isEmpty()) emit rowHeightsNeeded(0, int(lines_.size()) - 1);
}

SCSubtitleLinePtr SubtitleLinesTableModel::lineAt(int row) const {
    return row >= 0 && row < lines_.size() ? lines_[row] : nullptr;
}

QList<int> SubtitleLinesTableModel::selectedRows() const {
    QList<int> rows;
    if (!selection_) return rows;
    for (const QModelIndex& index : selection_->selectedRows()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

SCSubtitleLineList SubtitleLinesTableModel::selectedObjects() const {
    SCSubtitleLineList selected;
    for (int row : selectedRows())
        if (auto line = lineAt(row)) selected.append(line);
    return selected;
}

int SubtitleLinesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

int SubtitleLinesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(numberOfColumns);
}

QVariant SubtitleLinesTableModel::data(const QModelIndex& index, int role) const {
    const SCSubtitleLinePtr line = lineAt(index.row());
    if (!line) return {};
    watchRow(index.row());
    const int column = index.column();
    switch (role) {
        case Qt::CheckStateRole:
            if (column == includeColumn) return line->isExcluded() ? Qt::Unchecked : Qt::Checked;
            return {};
        case Qt::DisplayRole:
        case Qt::EditRole:
            switch (column) {
                case numberColumn:
                    return index.row() + 1;
                case startColumn:
                    return srtForm_ ? line->userStartTimeStringSRT()
                                    : line->userStartTimeStringASS();
                case endColumn:
                    return srtForm_ ? line->userEndTimeStringSRT() : line->userEndTimeStringASS();
                case dialogColumn:
                    if (role == Qt::EditRole)
                        return srtForm_ ? line->unformattedTextSRT() : line->unformattedTextASS();
                    return line->masterText().formattedText()
                               ? line->masterText().formattedText()->string()
                               : QString();
                case spellColumn:
                    return line->spellCheckResultLabel();
                case conflictColumn:
                    return line->timeConflict();
                default:
                    return {};
            }
        case DisplayTextRole:
            if (column == dialogColumn)
                return QVariant::fromValue(line->masterText().formattedText());
            return {};
        case Qt::ForegroundRole:
            if (column == startColumn || column == endColumn) {
                static const QString name = QStringLiteral("SCTrueToGrayTransformer");
                if (auto gray = platform::ValueTransformer::valueTransformerForName(name))
                    return gray->transformedValue(line->isExcluded());
            }
            return {};
        case Qt::TextAlignmentRole:
            return column == dialogColumn ? QVariant()
                                          : QVariant(int(Qt::AlignHCenter | Qt::AlignVCenter));
        default:
            return {};
    }
}

bool SubtitleLinesTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const SCSubtitleLinePtr line = lineAt(index.row());
    if (!line) return false;
    const int column = index.column();
    if (role == Qt::CheckStateRole && column == includeColumn) {
        // The line holds the new state before the check box's action runs.
        line->setIsExcluded(value.value<Qt::CheckState>() != Qt::Checked);
        emit dataChanged(this->index(index.row(), 0),
                         this->index(index.row(), numberOfColumns - 1));
        emit includeCheckBoxToggled(index.row());
        return true;
    }
    if (role != Qt::EditRole) return false;
    const QString text = value.toString();
    switch (column) {
        case startColumn:
            return srtForm_ ? line->setUserStartTimeStringSRT(text)
                            : line->setUserStartTimeStringASS(text);
        case endColumn:
            return srtForm_ ? line->setUserEndTimeStringSRT(text)
                            : line->setUserEndTimeStringASS(text);
        case dialogColumn:
            if (srtForm_)
                line->setUnformattedTextSRT(text);
            else
                line->setUnformattedTextASS(text);
            return true;
        default:
            return false;
    }
}

Qt::ItemFlags SubtitleLinesTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    switch (index.column()) {
        case includeColumn:
            return Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
        case startColumn:
        case endColumn:
        case dialogColumn:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
        default:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
}

QVariant SubtitleLinesTableModel::headerData(int section, Qt::Orientation orientation,
                                             int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case numberColumn:
            return QStringLiteral("#");
        case startColumn:
            return QStringLiteral("Start");
        case endColumn:
            return QStringLiteral("End");
        case dialogColumn:
            return QStringLiteral("Dialog");
        case spellColumn:
            return QStringLiteral("S");
        case conflictColumn:
            return QStringLiteral("Conflict");
        default:
            return QString();
    }
}

void SubtitleLinesTableModel::reloadData() {
    if (lines_.isEmpty()) return;
    emit dataChanged(index(0, 0), index(int(lines_.size()) - 1, numberOfColumns - 1));
}

void SubtitleLinesTableModel::reloadRows(const QList<int>& rows) {
    for (int row : rows)
        if (row >= 0 && row < lines_.size())
            emit dataChanged(index(row, 0), index(row, numberOfColumns - 1));
}

void SubtitleLinesTableModel::watchRow(int row) const {
    auto& watched = watched_[std::size_t(row)];
    if (watched) return;
    watched = 1;
    auto* self = const_cast<SubtitleLinesTableModel*>(this);
    SCSubtitleLine* line = lines_[row].get();
    const auto changed = [self, row] { self->rowChanged(row); };
    for (auto signal :
         {&SCSubtitleLine::isExcludedChanged, &SCSubtitleLine::timeConflictChanged,
          &SCSubtitleLine::unformattedTextSRTChanged, &SCSubtitleLine::unformattedTextASSChanged,
          &SCSubtitleLine::userStartTimeStringSRTChanged,
          &SCSubtitleLine::userStartTimeStringASSChanged,
          &SCSubtitleLine::userEndTimeStringSRTChanged,
          &SCSubtitleLine::userEndTimeStringASSChanged})
        connect(line, signal, self, changed);
}

void SubtitleLinesTableModel::unwatchAll() {
    for (std::size_t row = 0; row < watched_.size(); ++row)
        if (watched_[row]) lines_[qsizetype(row)]->disconnect(this);
}

void SubtitleLinesTableModel::rowChanged(int row) {
    const bool queued = changedFirst_ >= 0;
    changedFirst_ = queued ? std::min(changedFirst_, row) : row;
    changedLast_ = queued ? std::max(changedLast_, row) : row;
    if (!queued)
        QMetaObject::invokeMethod(this, &SubtitleLinesTableModel::flushChangedRows,
                                  Qt::QueuedConnection);
}

void SubtitleLinesTableModel::flushChangedRows() {
    if (changedFirst_ < 0) return;
    const int first = changedFirst_;
    const int last = std::min<int>(changedLast_, int(lines_.size()) - 1);
    changedFirst_ = changedLast_ = -1;
    if (first <= last) emit dataChanged(index(first, 0), index(last, numberOfColumns - 1));
}
