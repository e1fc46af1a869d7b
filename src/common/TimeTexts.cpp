#include "common/TimeTexts.h"

#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr long long kMillisPerDay = 24LL * 3600 * 1000;
// The largest time whose milliseconds a 64-bit count holds.
constexpr double kLargestSeconds = 9.0e15;

struct ClockTime {
    int hours, minutes, seconds, millis;
};

// The whole millisecond nearest to the time, on a 24-hour clock. Rounding
// (not cutting) keeps 45296.789, stored a hair below, at 789 ms.
ClockTime clockTimeOf(double seconds) {
    long long ms = 0;
    // Beyond about 1.8e305 seconds the milliseconds are infinite, and the
    // remainder of an infinity is no number: such a time shows as 0.
    const double scaled = std::fmod(std::round(seconds * 1000.0), double(kMillisPerDay));
    if (std::isfinite(scaled)) ms = static_cast<long long>(scaled);
    ms %= kMillisPerDay;
    if (ms < 0) ms += kMillisPerDay;
    return {int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000)};
}

bool allDigits(QStringView s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// Strict form: digits ":" digits ":" digits <separator> digits, hours 0-23,
// minutes and seconds 0-59; the fraction is a decimal fraction cut to ms.
std::optional<ClockTime> readStrict(const QString& text, QChar separator) {
    const qsizetype sep = text.indexOf(separator);
    if (sep < 0) return std::nullopt;
    const QStringView clock = QStringView(text).left(sep);
    const QStringView fraction = QStringView(text).mid(sep + 1);
    const auto fields = clock.split(u':');
    if (fields.size() != 3 || !allDigits(fraction)) return std::nullopt;
    for (const auto& f : fields)
        if (!allDigits(f)) return std::nullopt;
    // Long digit runs are out of range anyway; cap before converting.
    auto value = [](QStringView f) { return f.size() > 4 ? 9999 : f.toInt(); };
    const int h = value(fields[0]), m = value(fields[1]), s = value(fields[2]);
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    const QString msDigits = (fraction.left(3).toString() + QStringLiteral("00")).left(3);
    return ClockTime{h, m, s, msDigits.toInt()};
}

// The fields summed in this order, as the lenient reading sums them too: the
// seconds of a text depend on it in the last bit.
double secondsOfFields(long long hours, long long minutes, long long seconds, long long millis) {
    return double(hours) * 3600.0 + double(minutes) * 60.0 + double(seconds) +
           double(millis) / 1000.0;
}

double secondsOf(const ClockTime& t) {
    return secondsOfFields(t.hours, t.minutes, t.seconds, t.millis);
}

// Leading white space, sign, digits, optional fraction and exponent; stops at
// the first character that does not fit; no number reads as 0. Written out
// rather than strtod, which follows the process locale (a "," decimal point in
// many) and also takes hexadecimal, "inf" and "nan".
double readLeniently(const QString& field) {
    const QByteArray bytes = field.toLatin1();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    const char* const start = p;
    bool digits = false;
    for (; p < end && isDigit(*p); ++p) digits = true;
    if (p < end && *p == '.')
        for (++p; p < end && isDigit(*p); ++p) digits = true;
    if (!digits) return 0.0;
    bool negativeExponent = false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) negativeExponent = *q++ == '-';
        if (q < end && isDigit(*q)) {
            while (q < end && isDigit(*q)) ++q;
            p = q;
        } else {
            negativeExponent = false;
        }
    }
    double value = 0.0;
    const auto [last, error] = std::from_chars(start, p, value);
    if (error == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

// The digits after a point are a decimal fraction of a second cut to
// milliseconds, as in the strict forms: ".5", ".50" and ".500" are all half a
// second, whether the time is an ASS one with hundredths or an SRT one written
// with a point. Leading white space and a sign are read as a number's are.
double pointFraction(const QString& piece) {
    qsizetype i = 0;
    while (i < piece.size() && (piece[i] == u' ' || (piece[i] >= u'\t' && piece[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-')) negative = piece[i++] == u'-';
    QString digits;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9' && digits.size() < 3; ++i)
        digits.append(piece[i]);
    const double millis = (digits + QStringLiteral("00")).left(3).toInt();
    return (negative ? -millis : millis) / 1000.0;
}

std::optional<double> readFallback(const QString& text) {
    double fraction;
    QString clock;
    if (text.contains(u',')) {
        const QStringList pieces = text.split(u',');
        clock = pieces[0];
        fraction = readLeniently(pieces.value(1)) / 1000.0;
    } else if (text.contains(u'.')) {
        const QStringList pieces = text.split(u'.');
        clock = pieces[0];
        fraction = pointFraction(pieces.value(1));
    } else {
        return std::nullopt;
    }
    const QStringList fields = clock.split(u':');
    if (fields.size() != 3) return std::nullopt;
    return ((readLeniently(fields[0]) * 3600.0 + readLeniently(fields[1]) * 60.0) +
            readLeniently(fields[2])) +
           fraction;
}

QString twoDigits(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

QString srtText(const ClockTime& t) {
    return twoDigits(t.hours) + u':' + twoDigits(t.minutes) + u':' + twoDigits(t.seconds) + u',' +
           QString::number(t.millis).rightJustified(3, u'0');
}

QString assText(const ClockTime& t) {
    return QString::number(t.hours) + u':' + twoDigits(t.minutes) + u':' + twoDigits(t.seconds) +
           u'.' + twoDigits(t.millis / 10);
}

}  // namespace

std::optional<double> doubleTimeFromStringTime(const QString& theTime) {
    if (auto t = readStrict(theTime, u',')) return secondsOf(*t);
    if (auto t = readStrict(theTime, u'.')) return secondsOf(*t);
    // A lenient reading may give any number: a time that is no finite number
    // of whole milliseconds a time text can show is no time.
    const auto seconds = readFallback(theTime);
    if (!seconds || !(std::fabs(*seconds) <= kLargestSeconds)) return std::nullopt;
    return seconds;
}

double doubleTimeFromMilliseconds(long long milliseconds) {
    const long long ms = std::max(milliseconds, 0LL);
    return secondsOfFields(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

QString srtTimeStringFromDoubleTime(double theTime) {
    return srtText(clockTimeOf(theTime));
}

QString assTimeStringFromDoubleTime(double theTime) {
    return assText(clockTimeOf(theTime));
}

std::optional<QString> timeStringConvertedFrom(const QString& theTime) {
    if (auto t = readStrict(theTime, u',')) return assText(*t);
    if (auto t = readStrict(theTime, u'.')) return srtText(*t);
    return std::nullopt;
}

QString addEscapeCharactersTo(const QString& text) {
    QString result = text;
    result.replace(u'[', QStringLiteral("\\["));
    result.replace(u']', QStringLiteral("\\]"));
    result.replace(u'\'', QStringLiteral("'''"));
    return result;
}
