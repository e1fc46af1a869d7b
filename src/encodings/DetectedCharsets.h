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
    // 100) of the detector that gave it, and for a page that no detector
    // gave, the answers it stands in for (with the first one's confidence)
    // and, of those, the ones it is a sibling of.
    struct Candidate {
        QString name;
        int confidence;
        QStringList mends;
        QStringList siblingOf;
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

    // The pages that read what a page reads and more, where it has controls
    // or box drawing: the Windows page of the same script as an ISO-8859,
    // Mac or KOI8 page ("MacCyrillic" gives "WindowsCyrillic"; "ISOLatinThai"
    // gives "DOSThai", Windows' page 874; "EUC_KR" gives "DOSKorean", its
    // Windows extension), and KOI8-U for KOI8-R (its Ukrainian letters where
    // KOI8-R has box drawing).
    static QStringList siblingsOf(const QString& name);

    // For a Latin page, Windows or not, the Latin Windows pages other than
    // itself and its sibling, and for a Latin-1 page ISO-8859-15: they
    // differ in the letters beyond ASCII, and a detector can miss the right
    // one where the text reads cleanly in another (Estonian in windows-1257
    // reads as windows-1252 with Icelandic letters for its own, and no
    // detector names 1257; French in ISO-8859-15 reads its "œ" and "€" as
    // Latin-1's "½" and "¤", and no detector names ISO-8859-15).
    static QStringList otherLatinPages(const QString& name);

    // The readings worth trying for the bytes: uchardet's answer and ICU's
    // answers above kConfidenceFloor, each name once with its highest
    // confidence, in that order, then the siblings and the other Latin
    // pages of each that no detector gave.
    static QList<Candidate> candidatesFor(const QByteArray& bytes);

    // The Unicode form a byte-order mark at the start of the bytes names
    // ("UTF8", "Unicode" or "UTF32"), whether or not the rest decodes.
    static std::optional<QString> markedForm(const QByteArray& bytes);

    // The bytes read in the catalogue's encoding, when they decode. The
    // caller may have cut the file short inside a character: up to three
    // bytes at the end are let go.
    static std::optional<QString> decodedStart(const QByteArray& bytes, const QString& name);

    // The catalogue name the bytes are most likely in. A byte-order mark
    // decides outright. Otherwise the detectors' first answer that decodes
    // the bytes stands, unless another candidate's reading shows fewer
    // defects (TextMess: the count, not a share of the letters, so a reading
    // with more letters gains nothing). A page no detector gave counts only
    // where it reads with fewer defects than an answer it stands in for, and
    // then after every answer that reads as cleanly; a sibling that reads
    // with no more defects and keeps every letter the answer reads takes the
    // answer's place (windows-1252 for ISO-8859-1 text: the same letters, and
    // marks where the other has controls). On equal defects the earlier
    // answer, and such a sibling before its answer; where the two read the
    // same text, a Windows page. Two readings in East Asian letters (Hangul
    // and Han or kana, or the Han and kana of two sets, as EUC-JP and
    // GB18030 read Japanese) are not weighed against each other: where the
    // first answer reads one, another is taken only if that answer reads
    // unprintables, a sibling of it as ever; East Asian letters are counted
    // against the letters beyond ASCII. Symbols beside letters are no defect
    // of a first answer that reads East Asian text without unprintables. None
    // when no candidate decodes them.
    static std::optional<QString> catalogueNameForBytes(const QByteArray& bytes);
};
