#include "VobSubFixture.h"

#include <QMap>
#include <algorithm>

#include "SubtitlePicture.h"

namespace imagesubfixtures {

namespace {

constexpr int kPack = 2048;
constexpr int kPackHeader = 14;

void put16(QByteArray& out, int value) {
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

// Writes 4-bit codes and pads each line to a whole byte.
class NibbleWriter {
  public:
    void put(int nibble) {
        if (high_) {
            bytes_.append(char(nibble << 4));
        } else {
            bytes_.back() = char(bytes_.back() | nibble);
        }
        high_ = !high_;
    }
    void align() { high_ = true; }
    QByteArray bytes_;

  private:
    bool high_ = true;
};

// One line of the 2-bit run-length code: runs of 1–3, 4–15, 16–63 and
// 64–255 pixels take 1, 2, 3 and 4 nibbles.
void encodeLine(NibbleWriter& out, const IndexedPicture& picture, int y) {
    int x = 0;
    while (x < picture.width) {
        const int colour = picture.at(x, y);
        int run = 1;
        while (x + run < picture.width && picture.at(x + run, y) == colour && run < 255) ++run;
        const int code = (run << 2) | colour;
        const int nibbles = run < 4 ? 1 : run < 16 ? 2 : run < 64 ? 3 : 4;
        for (int n = nibbles - 1; n >= 0; --n) out.put((code >> (4 * n)) & 0xF);
        x += run;
    }
    out.align();
}

// The subpicture unit: header, top field, bottom field, the gap, and two
// control sequences.
QByteArray subpictureUnit(const IndexedPicture& picture, const QSize& frame, int delayTicks,
                          std::optional<int> controlOffset, bool selfPointing) {
    NibbleWriter top, bottom;
    for (int y = 0; y < picture.height; ++y) encodeLine(y % 2 == 0 ? top : bottom, picture, y);
    const int topOffset = 4;
    const int bottomOffset = topOffset + top.bytes_.size();
    const int pixelEnd = bottomOffset + bottom.bytes_.size();
    const int gap = controlOffset ? std::max(0, *controlOffset - pixelEnd) : 0;
    const int control = pixelEnd + gap;
    const int second = control + 24;

    const int x1 = (frame.width() - picture.width) / 2;
    const int x2 = x1 + picture.width - 1;
    const int y1 = frame.height() - picture.height - 40;
    const int y2 = y1 + picture.height - 1;

    QByteArray unit;
    put16(unit, 0);  // size, set below
    put16(unit, control);
    unit.append(top.bytes_);
    unit.append(bottom.bytes_);
    unit.append(QByteArray(gap, '\0'));
    put16(unit, 0);  // first sequence: shown at once
    put16(unit, selfPointing ? control : second);
    unit.append(char(0x01));         // start display
    unit.append("\x03\x32\x10", 3);  // colours: e2 3, e1 2, pattern 1, background 0
    unit.append("\x04\xFF\xF0", 3);  // contrast: background transparent
    unit.append(char(0x05));         // display area
    unit.append(char(x1 >> 4));
    unit.append(char(((x1 & 0xF) << 4) | (x2 >> 8)));
    unit.append(char(x2 & 0xFF));
    unit.append(char(y1 >> 4));
    unit.append(char(((y1 & 0xF) << 4) | (y2 >> 8)));
    unit.append(char(y2 & 0xFF));
    unit.append(char(0x06));  // field offsets
    put16(unit, topOffset);
    put16(unit, bottomOffset);
    unit.append(char(0xFF));
    put16(unit, delayTicks);  // second sequence: stop display
    put16(unit, second);
    unit.append(char(0x02));
    unit.append(char(0xFF));
    unit[0] = char((unit.size() >> 8) & 0xFF);
    unit[1] = char(unit.size() & 0xFF);
    return unit;
}

QByteArray packHeader(int stuffing) {
    QByteArray header("\x00\x00\x01\xBA\x44\x00\x04\x00\x04\x01\x01\x89\xC3", 13);
    header.append(char(0xF8 | stuffing));
    header.append(QByteArray(stuffing, '\xFF'));
    return header;
}

QByteArray timeStamp(qint64 pts) {
    QByteArray bytes;
    bytes.append(char(0x21 | ((pts >> 29) & 0x0E)));
    bytes.append(char((pts >> 22) & 0xFF));
    bytes.append(char(((pts >> 14) & 0xFE) | 1));
    bytes.append(char((pts >> 7) & 0xFF));
    bytes.append(char(((pts << 1) & 0xFE) | 1));
    return bytes;
}

// One 2048-byte pack: a private-stream-1 packet carrying `payload` for the
// sub-stream, then padding. `headerFill` extra header bytes stand in for
// padding too short for a padding packet.
QByteArray pack(int stuffing, int subStream, std::optional<qint64> pts, const QByteArray& payload,
                int headerFill) {
    QByteArray out = packHeader(stuffing);
    QByteArray header;
    if (pts) header.append(timeStamp(*pts));
    header.append(QByteArray(headerFill, '\xFF'));
    out.append("\x00\x00\x01\xBD", 4);
    put16(out, 3 + header.size() + 1 + payload.size());
    out.append(char(0x81));
    out.append(char(pts ? 0x80 : 0x00));
    out.append(char(header.size()));
    out.append(header);
    out.append(char(0x20 + subStream));
    out.append(payload);
    const int rest = kPack - out.size();
    if (rest >= 6) {
        out.append("\x00\x00\x01\xBE", 4);
        put16(out, rest - 6);
        out.append(QByteArray(rest - 6, '\xFF'));
    }
    return out;
}

int payloadRoom(int stuffing, bool withTimeStamp) {
    return kPack - kPackHeader - stuffing - 10 - (withTimeStamp ? 5 : 0);
}

// The unit cut into packs; the last one is padded.
QList<QByteArray> unitPacks(const QByteArray& unit, int stuffing, int subStream, qint64 pts) {
    QList<QByteArray> packs;
    qsizetype done = 0;
    while (done < unit.size()) {
        const bool first = done == 0;
        const int room = payloadRoom(stuffing, first);
        const QByteArray piece = unit.mid(done, room);
        done += piece.size();
        const int rest = room - piece.size();
        const int fill = rest > 0 && rest < 6 ? rest : 0;
        packs.append(pack(stuffing, subStream, first ? std::optional<qint64>(pts) : std::nullopt,
                          piece, fill));
    }
    return packs;
}

const char* languageOf(int stream) {
    static const char* const names[] = {"en", "de", "fr", "es", "it", "nl", "sv", "da"};
    return names[std::clamp(stream, 0, 7)];
}

}  // namespace

QString vobSubClock(qint64 ms) {
    const QString sign = ms < 0 ? QStringLiteral("-") : QString();
    ms = std::abs(ms);
    return sign + QString::asprintf("%02lld:%02lld:%02lld:%03lld", ms / 3600000, ms / 60000 % 60,
                                    ms / 1000 % 60, ms % 1000);
}

VobSubFiles makeVobSub(const QList<VobSubPicture>& pictures, const VobSubOptions& options) {
    VobSubFiles files;
    for (int i = 0; i < pictures.size(); ++i) {
        const VobSubPicture& picture = pictures[i];
        const QByteArray unit =
            subpictureUnit(drawSubtitleText(picture.text), options.frame, picture.delayTicks,
                           picture.controlOffset ? picture.controlOffset : options.controlOffset,
                           options.selfPointing || options.withoutStopAt.contains(i));
        QList<QByteArray> packs =
            unitPacks(unit, options.stuffing, picture.stream, picture.startMs * 90);
        if (options.dropContinuation.contains(i)) packs.resize(1);
        if (options.foreignPackAfter.contains(i))
            packs.insert(1, pack(options.stuffing, picture.stream + 1, std::nullopt,
                                 QByteArray(64, '\0'), 0));
        if (options.badPackCodeAt.contains(i)) packs[0][3] = char(0xBB);
        if (options.badPacketCodeAt.contains(i))
            packs[0][kPackHeader + options.stuffing + 3] = char(0xBE);
        files.positions.append(files.sub.size());
        for (const QByteArray& one : packs) files.sub.append(one);
    }
    if (options.truncateSubTo >= 0) files.sub.truncate(options.truncateSubTo);

    const QString end = options.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray idx = ("# VobSub index file, v7 (do not modify this line!)" + end).toUtf8();
    if (options.latin1Comment) idx += "# G\xE9n\xE9r\xE9 pour les essais" + end.toLatin1();
    idx += QStringLiteral("size: %1x%2")
               .arg(options.frame.width())
               .arg(options.frame.height())
               .toUtf8() +
           end.toUtf8();
    idx += ("palette: 000000, ffffff, 000000, 808080, 808080, 808080, 808080, 808080, 808080, "
            "808080, 808080, 808080, 808080, 808080, 808080, 808080" +
            end)
               .toUtf8();
    idx += ("langidx: 0" + end).toUtf8();
    if (options.emptyStreamBlockFirst) idx += ("id: xx, index: 9" + end).toUtf8();

    QMap<int, QList<int>> streams;
    for (int i = 0; i < pictures.size(); ++i) streams[pictures[i].stream].append(i);
    for (auto it = streams.cbegin(); it != streams.cend(); ++it) {
        idx += (QStringLiteral("id: %1, index: %2").arg(languageOf(it.key())).arg(it.key()) + end)
                   .toUtf8();
        for (int i : it.value()) {
            const VobSubPicture& picture = pictures[i];
            if (picture.delayLineMs)
                idx += ("delay: " + vobSubClock(*picture.delayLineMs) + end).toUtf8();
            const QString position = options.badFileposAt.contains(i)
                                         ? QString::asprintf("0x%07llx", files.positions[i])
                                         : QString::asprintf("%09llx", files.positions[i]);
            idx += ("timestamp: " + vobSubClock(picture.startMs) + ", filepos: " + position + end)
                       .toUtf8();
        }
    }
    files.idx = idx;
    return files;
}

}  // namespace imagesubfixtures
