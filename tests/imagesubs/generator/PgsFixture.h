#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

namespace imagesubfixtures {

// One picture of a PGS stream: a shown display set at `start` (PCS with one
// object, WDS, PDS, ODS, END), then a clear set (PCS without objects, WDS,
// END) at `end` when there is one; without it the next shown set replaces
// the picture.
struct PgsPicture {
    QString text{};
    double start = 0;
    std::optional<double> end{};
};

struct PgsOptions {
    QSize video{1920, 1080};
    bool leadingBlankSet = false;  // a clear set at 0 before the first picture
    int withoutEndAt = -1;         // this picture's shown set lacks its END segment
    // A last clear set at this time whose END segment claims a payload that
    // runs past the file's end.
    std::optional<double> clearPastEndAt{};
    int shortTail = 0;  // this many bytes (under 13) of a header at the end
};

// Presentation time stamps in 90 kHz ticks, rounded to the nearest tick.
qint64 pgsTicks(double seconds);

QByteArray makePgs(const QList<PgsPicture>& pictures, const PgsOptions& options = {});

}  // namespace imagesubfixtures
