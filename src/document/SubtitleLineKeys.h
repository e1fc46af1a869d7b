#pragma once

#include <QString>
#include <QVariant>

class SCSubtitleLine;

// By-name access to a line's properties, one explicit case per key: the
// snapshot, the trace and the ASS reader use it, and an unknown name is
// refused rather than silently added.
class SubtitleLineKeys {
  public:
    static QVariant value(const SCSubtitleLine& line, const QString& key);
    // False for an unknown or read-only key, and for a time text that does
    // not read (the time is then kept).
    static bool setValue(SCSubtitleLine& line, const QString& key, const QVariant& value);
};
