#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Open and save dialogs. The open panel is free-standing and returns at
// once; the save panel is modal for the whole application. Tests put a
// recorder in its place.
class PanelProvider {
  public:
    struct OpenPanel {
        QString title;
        QStringList fileTypes;  // extensions without the point, matched in any case
    };
    struct SavePanel {
        QString title;
        QString proposedName;
        QString folder{};  // where the panel opens; empty: the toolkit's choice
    };
    // ok false: cancelled. A chosen file's absolute path, or empty when the
    // panel gave none.
    using OpenCompletion = std::function<void(bool ok, const QString& path)>;

    virtual ~PanelProvider() = default;

    virtual void beginOpenPanel(const OpenPanel& panel, OpenCompletion completion) = 0;
    // The chosen path, or no value when cancelled.
    virtual std::optional<QString> runSavePanel(const SavePanel& panel) = 0;
};
