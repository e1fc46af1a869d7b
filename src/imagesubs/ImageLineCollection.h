#pragma once

#include <QList>
#include <QVariantMap>
#include <optional>

// Puts the converted lines of one import back in line order. Each report is
// stored at its line number as a record with "startTime", "endTime",
// "lineImage" and "lineDialog"; a line is handed over once its own record
// and the next line's have arrived, its end trimmed to 0.01 s before the
// next start when the two overlap. The last line goes when the walk reaches
// it, and at the end of the import every record still held goes, in order,
// so that no line is lost to one that never reported.
class ImageLineCollection {
  public:
    using Record = QVariantMap;
    struct Ready {
        qint64 number = 0;
        Record record;
    };

    // Stores a report (a later one for the same number replaces it) and
    // gives the lines to hand over now, in order.
    QList<Ready> take(qint64 number, const Record& record, bool isLast);

    // Every stored line not yet handed over, in order.
    QList<Ready> finish();

    // Slot n holds line n's record once it has arrived.
    const QList<std::optional<Record>>& records() const { return records_; }
    // The lowest line number not yet handed over.
    qint64 toVerifyIndex() const { return toVerifyIndex_; }

  private:
    void trimAgainst(qint64 line, qint64 next);

    QList<std::optional<Record>> records_{std::nullopt};
    qint64 toVerifyIndex_ = 0;
    std::optional<qint64> lastLine_;
};
