#pragma once

#include <QChar>
#include <QString>

// Character classes shared by the SRT and ASS readers and writers.
namespace textlines {

// U+000A to U+000D, U+0085, U+2028 and U+2029.
inline bool isLineBreak(char16_t u) {
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}
inline bool isLineBreak(QChar c) {
    return isLineBreak(c.unicode());
}

// The platform's white-space set without line breaks: tab and the Unicode
// space separators.
inline bool isBlank(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

inline bool isBlankText(const QString& text) {
    for (QChar c : text)
        if (!isBlank(c)) return false;
    return true;
}

}  // namespace textlines
