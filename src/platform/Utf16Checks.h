#pragma once

#include <QChar>
#include <QStringView>

namespace platform {

// True when every surrogate in the text belongs to a high-low pair.
inline bool isWellFormedUtf16(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= n || !text[i + 1].isLowSurrogate()) return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
