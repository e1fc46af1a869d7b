#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/DocumentFailure.h"
#include "platform/StringEncoding.h"

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

    // The same encoding for a text handed over in pieces, for encodings
    // whose converter carries no state from one character to the next (the
    // Unicode forms, single-byte sets): the pieces' bytes, one after the
    // other, are the whole text's, and each piece is checked as `encode`
    // checks the whole. The byte-order mark comes only before the first.
    class PieceEncoder {
      public:
        // No encoder for an encoding that needs the whole text at once.
        static std::optional<PieceEncoder> forEncoding(const QString& encodingName);

        // The next piece's bytes; none when it cannot be encoded or does not
        // come back. A surrogate pair cut between pieces is kept whole.
        std::optional<QByteArray> encode(QString piece);
        // What is left after the last piece (the mark alone for an empty text).
        std::optional<QByteArray> finish();

      private:
        platform::StringEncoding first_;
        platform::StringEncoding later_;  // the same without a mark
        bool started_ = false;
        QString carried_;
    };
};
