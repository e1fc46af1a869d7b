#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The catalogue name of a character set that a detector reports, and the
// detection itself for a file's bytes.
class DetectedCharsets {
  public:
    // A reading the chooser weighs: a catalogue name, the confidence (0 to
    // 100) of the detector that gave it, and for a Windows sibling that no
    // detector gave, the answers it stands in for (with the first one's
    // confidence).
    struct Candidate {
        QString name;
        int confidence;
        QStringList mends;
    };

    // ICU's answers are tried above this confidence: it gives 10 to forms
    // it has barely any sign of (UTF-16 without a mark, the East Asian sets
    // for Latin text).
    static constexpr int kConfidenceFloor = 10;
    // uchardet gives one answer and no number for it: it counts as sure.
    static constexpr int kUchardetConfidence = 100;

    // The catalogue's display name for a charset name that ICU's detector or
    // uchardet gives, in either's spelling ("Shift_JIS" or "SHIFT_JIS" give
    // "ShiftJIS"); none for a charset the catalogue lacks.
    static std::optional<QString> catalogueNameFor(const QString& charset);

    // The Windows code page of the same script as an ISO-8859, Mac or KOI8
    // catalogue name ("MacCyrillic" gives "WindowsCyrillic"): the page that
    // has typographic marks where the others have controls or letters.
    static std::optional<QString> windowsSiblingOf(const QString& name);

    // For a Latin page, Windows or not, the Latin Windows pages other than
    // itself and its sibling: they differ in the letters beyond ASCII, and
    // a detector can miss the right one where the text reads cleanly in
    // another (Estonian in windows-1257 reads as windows-1252 with
    // Icelandic letters for its own, and no detector names 1257).
    static QStringList otherLatinWindowsPages(const QString& name);

    // The readings worth trying for the bytes: uchardet's answer and ICU's
    // answers above kConfidenceFloor, each name once with its highest
    // confidence, then the Windows sibling and the other Latin Windows pages
    // of each that no detector gave.
    static QList<Candidate> candidatesFor(const QByteArray& bytes);

    // The catalogue name the bytes are most likely in: of the candidates
    // that decode the start of the bytes, the one whose reading has the
    // least mess per letter (TextMess); on a tie a Windows page, then the
    // more confident detector. A sibling no detector gave counts only where
    // it reads the bytes with less mess than its answer, or as the same
    // text. None when no candidate decodes them.
    static std::optional<QString> catalogueNameForBytes(const QByteArray& bytes);
};
