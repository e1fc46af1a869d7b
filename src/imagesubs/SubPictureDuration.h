#pragma once

#include <QByteArray>
#include <optional>

// The display duration, in seconds, of the VobSub picture whose first pack
// lies at `startingAt` in the SUB bytes: the delay of the picture's second
// control sequence × 1024 / 90000. Packs are read from there, 2048 bytes
// each, keeping the packets of stream `streamID`, until the unit's control
// data is complete or `andEndingAt` (the next picture's first pack) is
// reached; the first pack is always read. None when the window holds no
// unit start of the stream, the control data does not name a second
// sequence, or a field lies outside the bytes. A missing pack or packet
// start code is logged with its offset.
std::optional<double> subPictureDuration(const QByteArray& sub, qint64 streamID, qint64 startingAt,
                                         qint64 andEndingAt);
