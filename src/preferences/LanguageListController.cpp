#include "preferences/LanguageListController.h"

#include <algorithm>

LanguageListController::LanguageListController(QObject* parent)
    : QObject(parent), selection_(&model_) {}

void LanguageListController::setContent(const QStringList& languages) {
    selection_.clear();
    model_.setStringList(languages);
}

QStringList LanguageListController::selectedObjects() const {
    QModelIndexList rows = selection_.selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList languages;
    for (const QModelIndex& row : rows) languages.append(row.data().toString());
    return languages;
}

void LanguageListController::setSelectedObjects(const QStringList& languages) {
    QItemSelection chosen;
    for (int row = 0; row < model_.rowCount(); ++row) {
        const QModelIndex index = model_.index(row);
        if (languages.contains(index.data().toString())) chosen.select(index, index);
    }
    selection_.select(chosen, QItemSelectionModel::ClearAndSelect);
}
