#pragma once

#include "formatting/SCStyle.h"
#include "support/EventLoop.h"

inline const QString v4PlusHeader = QStringLiteral("[V4+ Styles]");

// Reads a line pair and lets the main queue apply it.
inline resultTypes loadStyle(SCStyle& style, const QString& format, const QString& line,
                             const QString& header = v4PlusHeader) {
    const resultTypes result = style.intitializeWithFormatString(format, line, header);
    testsupport::drainMainQueue();
    return result;
}
