#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class SCSubtitleLine;

// By-name access to a line's properties from one table, where each name
// stands once with its getter and, unless read-only, its setter: the
// snapshot, the trace and the ASS reader use it, and an unknown name is
// refused rather than silently added.
class SubtitleLineKeys {
  public:
    static QVariant value(const SCSubtitleLine& line, const QString& key);
    // False for an unknown or read-only key, and for a time text that does
    // not read (the time is then kept).
    static bool setValue(SCSubtitleLine& line, const QString& key, const QVariant& value);
    // Every name of the table, in its order.
    static const QStringList& names();
};
