#include "tools/FilterEscaping.h"

namespace {

QString withBackslashBefore(const QString& text, QStringView specials) {
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (specials.contains(c)) escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

QString escapedForFilterGraph(const QString& value) {
    const QString optionLevel = withBackslashBefore(value, u"\\':=");
    return withBackslashBefore(optionLevel, u"\\'[],;");
}
