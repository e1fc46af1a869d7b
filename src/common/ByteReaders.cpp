#include "common/ByteReaders.h"

QString hexEncodedString(const QByteArray& data) {
    return QString::fromLatin1(data.toHex());
}

namespace {

// Written so that no sum can overflow: offsets come from the files read.
bool isInside(const QByteArray& data, qint64 offset, qint64 length) {
    return offset >= 0 && length >= 0 && offset <= data.size() && length <= data.size() - offset;
}

}  // namespace

std::optional<QString> hexAtOffset(const QByteArray& data, qint64 offset, qint64 ofLength) {
    if (!isInside(data, offset, ofLength)) return std::nullopt;
    return hexEncodedString(data.mid(offset, ofLength));
}

qint64 intAtOffset(const QByteArray& data, qint64 offset, qint64 ofLength,
                   const QString& usingEndianOf) {
    if (!isInside(data, offset, ofLength)) return -1;
    const auto byteAt = [&](qint64 i) { return static_cast<quint8>(data[offset + i]); };
    if (ofLength == 1) return byteAt(0);
    if (ofLength != 2 && ofLength != 4) return -1;
    const QString order = usingEndianOf.toLower();
    const bool big = order == u"big";
    if (!big && order != u"little") return -1;
    qint64 value = 0;
    for (qint64 i = 0; i < ofLength; ++i) value = (value << 8) | byteAt(big ? i : ofLength - 1 - i);
    return value;
}
