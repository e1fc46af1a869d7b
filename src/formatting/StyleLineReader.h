#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <optional>

// Reads the values of one "Style:" line against its section's "Format:"
// line, by field name, for the 23 V4+ style fields.
class StyleLineReader {
  public:
    using CurrentValue = std::function<QVariant(const QString& key)>;

    // A value for every V4+ key: the line's text, or `current(key)` where the
    // line gives none. None when a line lacks its prefix ("Format: ",
    // "Style: "; without the blank when the full form is missing) or holds
    // it twice.
    static std::optional<QVariantMap> read(const QString& formatString, const QString& styleString,
                                           const QString& styleHeader, const CurrentValue& current);

    // SSA alignment numbers (1-3 bottom, 5-7 top, 9-11 middle) as ASS
    // numbers (1-3, 7-9, 4-6); a text that is no whole number is kept.
    static QString assAlignmentFromSSA(const QString& value);
};
