#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

namespace imagesubfixtures {

// One picture of a VobSub pair. Its subpicture unit has two control
// sequences: the first starts the display, the second stops it after
// `delayTicks` (units of 1024/90000 s).
struct VobSubPicture {
    QString text{};
    qint64 startMs = 0;  // the IDX time stamp
    int delayTicks = 200;
    int stream = 0;
    // A "delay:" line (signed milliseconds) written before this picture's
    // time line.
    std::optional<qint64> delayLineMs{};
    // Where the control area starts in the unit (past the pixel data); the
    // options' value, or right after the pixel data, when not given.
    std::optional<int> controlOffset{};
};

struct VobSubOptions {
    QSize frame{720, 576};
    int stuffing = 0;                    // pack stuffing bytes (0–7) in every pack
    std::optional<int> controlOffset{};  // for every picture without its own
    bool selfPointing = false;           // the first control sequence names itself as next
    QList<int> foreignPackAfter{};       // pictures whose first pack another stream's pack follows
    QList<int> dropContinuation{};       // pictures whose packs after the first are left out
    QList<int> badPackCodeAt{};          // pictures whose first pack has a wrong pack start code
    QList<int> badPacketCodeAt{};        // pictures whose first packet has a wrong start code
    QList<int> badFileposAt{};           // pictures whose filepos is written "0x…"
    bool crlf = false;
    bool latin1Comment = false;
    bool emptyStreamBlockFirst = false;  // a stream block without time lines comes first
    qint64 truncateSubTo = -1;           // the SUB cut to this many bytes
    QList<int> withoutStopAt{};          // pictures whose first control sequence names itself
};

struct VobSubFiles {
    QByteArray idx{};
    QByteArray sub{};
    QList<qint64> positions{};  // each picture's first pack in the SUB
};

// Pictures are written to the SUB in the order given; the IDX lists each
// stream's pictures in a block of its own ("id: xx, index: N"), streams in
// ascending order.
VobSubFiles makeVobSub(const QList<VobSubPicture>& pictures, const VobSubOptions& options = {});

// The IDX time text "HH:MM:SS:mmm" of a time in milliseconds (signed).
QString vobSubClock(qint64 ms);

}  // namespace imagesubfixtures
