#include "tools/FilterEscaping.h"

namespace {

// The white space that ffmpeg's token reader drops at either end of a value
// unless it is escaped.
bool isTokenSpace(QChar c) {
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

QString withBackslashBefore(const QString& text, QStringView specials) {
    qsizetype first = 0, last = text.size();
    while (first < last && isTokenSpace(text[first])) ++first;
    while (last > first && isTokenSpace(text[last - 1])) --last;
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (specials.contains(c) || i < first || i >= last) escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

QString escapedForFilterGraph(const QString& value) {
    const QString optionLevel = withBackslashBefore(value, u"\\':=");
    return withBackslashBefore(optionLevel, u"\\'[],;");
}
