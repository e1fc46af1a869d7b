#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/DocumentFailure.h"

// A subtitle file's text as read from disk and as written to it, in a named
// encoding, with the reason when that is not possible.
class SubtitleFileText {
  public:
    // The whole file decoded; no value and the reason (missing, a folder,
    // unreadable, undecodable) otherwise. Nothing is decoded for a file that
    // is not there.
    static std::optional<QString> read(const QString& path, const QString& encodingName,
                                       DocumentFailure& failure);

    // The text encoded, checked by decoding it again: a converter that skips
    // a character it cannot map (direction marks, joiners) or maps one to
    // another ("\" to "¥"), or that refuses its own output, fails like a
    // character the encoding cannot hold. The failure names the first line
    // of the text that does not come back.
    static std::optional<QByteArray> encode(const QString& text, const QString& encodingName,
                                            DocumentFailure& failure);
};
