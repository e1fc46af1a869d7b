#pragma once

#include <QString>

// Why the last load, re-read or write of a document failed. The named result
// stays `error` for every cause; this says which one, for the views to show
// and the log to name.
struct DocumentFailure {
    enum class Kind {
        none,
        missingFile,     // nothing at the path
        notAFile,        // a folder or another non-file
        unreadableFile,  // there, but cannot be opened or read
        undecodable,     // the bytes are not text in the encoding
        noReadableLine,  // text, but no cue or event could be read
        notAText,        // the document's type has no text reader
        unwritable,      // the target cannot be written (folder, permission, disk full)
        unencodable,     // the export encoding cannot hold the text
        toolFailed,      // a tool could not do its part; `detail` says why
    };

    Kind kind = Kind::none;
    QString path;
    QString encoding;
    qint64 line = 0;  // 1-based line of the file where one applies, else 0
    QString detail;
    // For a text the export encoding cannot hold: the document's line (from
    // 1, as the lines table numbers them) that holds that line of the file;
    // 0 for one of the file's header or of no line.
    qint64 documentLine = 0;

    explicit operator bool() const { return kind != Kind::none; }

    // A short lower-case name of the kind: "missing file", "undecodable", ...
    static QString kindName(Kind kind);
    // "<kind>: <path> (encoding <name>, line <n>): <detail>", parts that do
    // not apply left out.
    QString description() const;
    // Whether reading the same file in another encoding could succeed: the
    // encoding cycle skips every other cause.
    bool worthAnotherEncoding() const {
        return kind == Kind::undecodable || kind == Kind::noReadableLine;
    }
};
