#include "app/ExportLocation.h"

#include <QFileInfo>

QString exportPathForChoice(const QString& chosenPath, subtitleTypes exportType) {
    const QString type = exportType.rawValue();
    if (QFileInfo(chosenPath).suffix().toLower() == type) return chosenPath;
    return chosenPath + "." + type;
}
