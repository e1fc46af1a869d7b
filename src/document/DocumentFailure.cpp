#include "document/DocumentFailure.h"

#include <QStringList>

QString DocumentFailure::kindName(Kind kind) {
    switch (kind) {
        case Kind::none:
            return QStringLiteral("none");
        case Kind::missingFile:
            return QStringLiteral("missing file");
        case Kind::notAFile:
            return QStringLiteral("not a file");
        case Kind::unreadableFile:
            return QStringLiteral("unreadable file");
        case Kind::undecodable:
            return QStringLiteral("undecodable");
        case Kind::noReadableLine:
            return QStringLiteral("no readable line");
        case Kind::notAText:
            return QStringLiteral("not a text subtitle");
        case Kind::unwritable:
            return QStringLiteral("unwritable");
        case Kind::unencodable:
            return QStringLiteral("unencodable");
        case Kind::toolFailed:
            return QStringLiteral("tool failed");
    }
    return {};
}

QString DocumentFailure::description() const {
    QString text = kindName(kind);
    if (!path.isEmpty()) text += QStringLiteral(": ") + path;
    QStringList where;
    if (!encoding.isEmpty()) where.append(QStringLiteral("encoding ") + encoding);
    if (line > 0) where.append(QStringLiteral("line ") + QString::number(line));
    if (!where.isEmpty()) text += QStringLiteral(" (") + where.join(QStringLiteral(", ")) + u')';
    if (!detail.isEmpty()) text += QStringLiteral(": ") + detail;
    return text;
}
