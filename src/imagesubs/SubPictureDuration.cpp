#include "imagesubs/SubPictureDuration.h"

#include <algorithm>

#include "common/HelperFunctions.h"

namespace {

constexpr qint64 kPackSize = 2048;

qint64 roundUpToPack(qint64 offset) {
    const qint64 rest = offset % kPackSize;
    return rest == 0 ? offset : offset + (kPackSize - rest);
}

// Big-endian reads that never leave the buffer: -1 (or false) outside it.
// Offsets come from the file, so no sum may overflow.
class SubBytes {
  public:
    explicit SubBytes(const QByteArray& data) : data_(data), size_(data.size()) {}

    bool inside(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    qint64 byte(qint64 offset) const {
        return inside(offset, 1) ? static_cast<quint8>(data_[offset]) : -1;
    }
    qint64 word(qint64 offset) const {
        return inside(offset, 2) ? byte(offset) * 256 + byte(offset + 1) : -1;
    }
    // 00 00 01 followed by the given identifier.
    bool startCode(qint64 offset, quint8 id) const {
        return inside(offset, 4) && byte(offset) == 0 && byte(offset + 1) == 0 &&
               byte(offset + 2) == 1 && byte(offset + 3) == id;
    }
    const char* at(qint64 offset) const { return data_.constData() + offset; }

  private:
    const QByteArray& data_;
    qint64 size_;
};

}  // namespace

std::optional<double> subPictureDuration(const QByteArray& sub, qint64 streamID, qint64 startingAt,
                                         qint64 andEndingAt) {
    const SubBytes bytes(sub);
    qint64 position = startingAt;
    QByteArray controlArea;    // unit bytes from C + 2 on
    qint64 wanted = -1;        // W = Z - C - 2 once a unit start was read
    qint64 base = -1;          // file offset of control byte 0, as if contiguous
    qint64 firstSequence = 0;  // C
    bool started = false;

    do {
        const qint64 pack = position;
        if (!bytes.startCode(pack, 0xBA)) {
            qpl(QStringLiteral("Packet identifier error at offset: ") + QString::number(pack));
            return std::nullopt;
        }
        const qint64 stuffing = bytes.byte(pack + 13);
        if (stuffing < 0) return std::nullopt;
        const qint64 packet = pack + 14 + (stuffing & 7);
        if (!bytes.startCode(packet, 0xBD)) {
            qpl(QStringLiteral("Sub packet identifier error at offset: ") +
                QString::number(packet));
            return std::nullopt;
        }
        const qint64 length = bytes.word(packet + 4);
        const qint64 flags = bytes.byte(packet + 7);
        const qint64 headerLength = bytes.byte(packet + 8);
        if (length < 0 || flags < 0 || headerLength < 0) return std::nullopt;
        const qint64 subStream = bytes.byte(packet + 9 + headerLength);
        if (subStream < 0) return std::nullopt;
        const qint64 packetEnd = packet + 6 + length;
        const qint64 payload = packet + 10 + headerLength;

        if (subStream - 32 != streamID) {
            // Another stream's pack counts whole in the unit's offsets.
            position = roundUpToPack(packetEnd);
            base += kPackSize;
            continue;
        }
        const bool hasTimeStamp = (flags & 0x80) == 0x80;
        if (hasTimeStamp && headerLength >= 5) {
            const qint64 unitSize = bytes.word(payload);
            firstSequence = bytes.word(payload + 2);
            if (unitSize < 0 || firstSequence < 0) return std::nullopt;
            wanted = unitSize - firstSequence - 2;
            base = payload + 2 + firstSequence;
            started = true;
            // A new unit start replaces whatever an earlier one collected.
            controlArea.clear();
        } else if (started) {
            base += payload - pack;
        }

        const qint64 collected = controlArea.size();
        const qint64 available = std::max<qint64>(0, packetEnd - base - collected);
        const qint64 taken = std::min(available, std::max<qint64>(0, wanted - collected));
        if (taken > 0) {
            if (!bytes.inside(base + collected, taken)) return std::nullopt;
            controlArea.append(bytes.at(base + collected), taken);
        }
        position = controlArea.size() != wanted && packetEnd % kPackSize != 0
                       ? roundUpToPack(packetEnd)
                       : packetEnd;
    } while (position < andEndingAt && controlArea.size() < wanted);

    const qint64 collected = controlArea.size();
    if (wanted < 0 || wanted < collected) return std::nullopt;
    // A window that ends before the control data does reads as 0xFF there.
    controlArea.append(wanted - collected, char(0xFF));
    if (wanted < 2) return std::nullopt;
    const auto at = [&](qint64 i) {
        return static_cast<qint64>(static_cast<quint8>(controlArea[i]));
    };
    const qint64 next = at(0) * 256 + at(1);
    const qint64 k = next - firstSequence - 2;
    if (k < 0 || k + 1 >= wanted) return std::nullopt;
    const qint64 delay = at(k) * 256 + at(k + 1);
    return static_cast<double>(delay) * 1024.0 / 90000.0;
}
