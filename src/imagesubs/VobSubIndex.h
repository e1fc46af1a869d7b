#pragma once

#include <QByteArrayView>
#include <QList>
#include <optional>

#include "imagesubs/LineTimes.h"

// What the line times need of a VobSub IDX index: the pictures of one
// stream, each with its start and the offset of its first pack in the SUB
// file. Only the first stream block that lists any picture is kept: the
// temporary Matroska file's first track is made from it, and its "delay:"
// lines shift the times that follow them as they do there.
struct VobSubIndex {
    std::optional<qint64> streamID;  // the kept block's "index: " number
    TimePairList times;              // starts; every end 0
    QList<qint64> positions;         // "filepos:" per picture; -1 when not hexadecimal
};

// Reads the index's bytes as they are: every field read is ASCII, so a
// UTF-8 index and one with a comment in Latin-1 or another ASCII-based
// encoding read alike, and none is lost for its encoding.
VobSubIndex readVobSubIndex(QByteArrayView bytes);
