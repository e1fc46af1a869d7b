#include "preferences/ToolTipTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

// A static library's resources are registered only when something asks.
static void registerPreferencesResources() {
    Q_INIT_RESOURCE(preferences);
}

const QList<ToolTipText>& toolTipOnTexts() {
    static const QList<ToolTipText> texts = [] {
        registerPreferencesResources();
        QFile file(QStringLiteral(":/preferences/ToolTipTexts.json"));
        QList<ToolTipText> loaded;
        if (!file.open(QIODevice::ReadOnly)) return loaded;
        const QJsonArray rows = QJsonDocument::fromJson(file.readAll()).array();
        for (const QJsonValue& row : rows) {
            const QJsonArray pair = row.toArray();
            loaded.append({pair.at(0).toString(), pair.at(1).toString()});
        }
        return loaded;
    }();
    return texts;
}
