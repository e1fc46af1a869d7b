#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Readers of an in-memory byte buffer for the picture-subtitle parsers.

// Two lower-case hexadecimal digits per byte, no separator.
QString hexEncodedString(const QByteArray& data);

// The hexadecimal text of bytes [offset, offset + ofLength), or no value when
// that stretch is not wholly inside the buffer.
std::optional<QString> hexAtOffset(const QByteArray& data, qint64 offset, qint64 ofLength);

// The unsigned value of 1, 2 or 4 bytes in "big" or "little" byte order (any
// case; one byte ignores the order). -1 for any other length or order, and
// for a stretch outside the buffer, which is never read.
qint64 intAtOffset(const QByteArray& data, qint64 offset, qint64 ofLength,
                   const QString& usingEndianOf);
