#include "imagesubs/VobSubIndex.h"

#include <charconv>
#include <cstdint>

namespace {

using Text = QByteArrayView;

// Optional sign, then decimal digits only; none past 64 bits.
std::optional<qint64> strictDecimal(Text text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text = text.sliced(1);
    }
    if (text.isEmpty()) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value, 10);
    if (error != std::errc() || end != text.end()) return std::nullopt;
    if (value > std::uint64_t(INT64_MAX) + (negative ? 1 : 0)) return std::nullopt;
    return negative ? qint64(0 - value) : qint64(value);
}

// Hexadecimal digits of either case only ("0x", signs and blanks refused);
// -1 otherwise, also past 64 bits.
qint64 strictHexadecimal(Text text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value, 16);
    if (text.isEmpty() || error != std::errc() || end != text.end() || value > INT64_MAX) return -1;
    return qint64(value);
}

// "HH:MM:SS:mmm" in seconds, each field decimal digits only: a sign inside
// a clock ("00:-01:…") is no time, not a minute back.
std::optional<double> clockTime(Text text) {
    double fields[4];
    for (int i = 0; i < 4; ++i) {
        const qsizetype colon = i < 3 ? text.indexOf(':') : text.size();
        if (colon < 0) return std::nullopt;
        const Text field = text.first(colon);
        if (!field.isEmpty() && (field.front() == '+' || field.front() == '-')) return std::nullopt;
        const auto value = strictDecimal(field);
        if (!value) return std::nullopt;
        fields[i] = static_cast<double>(*value);
        if (i < 3) text = text.sliced(colon + 1);
    }
    return fields[0] * 3600 + fields[1] * 60 + fields[2] + fields[3] / 1000;
}

Text trimmed(Text text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t')) text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t')) text.chop(1);
    return text;
}

// A "delay:" line's signed shift in seconds.
std::optional<double> delayShift(Text line) {
    Text text = trimmed(line);
    if (!text.startsWith("delay:")) return std::nullopt;
    text = trimmed(text.sliced(6));
    double sign = 1;
    if (text.startsWith('-') || text.startsWith('+')) {
        if (text.front() == '-') sign = -1;
        text = text.sliced(1);
    }
    if (text.startsWith('-') || text.startsWith('+')) return std::nullopt;
    const auto shift = clockTime(text);
    if (!shift) return std::nullopt;
    return sign * *shift;
}

}  // namespace

VobSubIndex readVobSubIndex(QByteArrayView bytes) {
    VobSubIndex block;  // the block being read
    double shift = 0;   // the block's "delay:" lines so far
    qsizetype begin = 0;
    while (begin <= bytes.size()) {
        // Lines end at CR, LF or CR LF.
        qsizetype end = begin;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        const Text line = bytes.sliced(begin, end - begin);
        begin =
            end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);

        if (line.contains("timestamp:")) {
            const qsizetype at = line.indexOf("timestamp: ");
            if (at < 0) continue;
            Text time = line.sliced(at + 11);
            if (const qsizetype comma = time.indexOf(','); comma >= 0) time.truncate(comma);
            const auto start = clockTime(time);
            // A time that does not read drops the whole line, so that times
            // and positions stay in step.
            if (!start) continue;
            const qsizetype positionAt = line.indexOf("filepos: ");
            block.times.append({*start + shift, 0});
            block.positions.append(positionAt < 0 ? -1
                                                  : strictHexadecimal(line.sliced(positionAt + 9)));
        } else if (const qsizetype at = line.lastIndexOf("index: "); at >= 0) {
            // A new stream block; the first one that listed pictures is kept.
            if (!block.times.isEmpty()) break;
            block.streamID = strictDecimal(line.sliced(at + 7));
            shift = 0;
        } else if (const auto delay = delayShift(line)) {
            shift += *delay;
        }
    }
    if (block.times.isEmpty()) block.streamID.reset();
    return block;
}
