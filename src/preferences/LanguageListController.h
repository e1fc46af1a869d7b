#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QStringList>
#include <QStringListModel>

// Arranges the popover's languages for its list: the list shows the model,
// the user selects any number of rows, and the selected objects are the
// chosen languages.
class LanguageListController : public QObject {
    Q_OBJECT

  public:
    explicit LanguageListController(QObject* parent = nullptr);

    QStringListModel* model() { return &model_; }
    QItemSelectionModel* selectionModel() { return &selection_; }

    // Replaces the content; the selection is dropped.
    void setContent(const QStringList& languages);
    QStringList content() const { return model_.stringList(); }

    // The chosen languages, in row order whatever order they were picked in.
    QStringList selectedObjects() const;

    // Selects exactly the rows holding these languages.
    void setSelectedObjects(const QStringList& languages);

  private:
    QStringListModel model_;
    QItemSelectionModel selection_;
};
