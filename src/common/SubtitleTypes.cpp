#include "common/SubtitleTypes.h"

#include <array>

#include "common/RawValues.h"

namespace {
constexpr std::array<const char*, 5> kRaw{"srt", "ass", "vobsub", "pgs", "none"};
}

std::optional<subtitleTypes> subtitleTypes::fromRawValue(const QString& raw) {
    if (auto i = common::indexOfRawValue(kRaw, raw)) return subtitleTypes(static_cast<Value>(*i));
    return std::nullopt;
}

subtitleTypes subtitleTypes::enumForExtension(const QString& ext) {
    const QString e = ext.toLower();
    if (e == u"srt" || e == u".srt") return srt;
    if (e == u"ass" || e == u".ass" || e == u"ssa" || e == u".ssa") return ass;
    if (e == u"idx" || e == u".idx") return vobsub;
    if (e == u"sup" || e == u".sup") return pgs;
    return none;
}

QString subtitleTypes::rawValue() const {
    return QString::fromLatin1(kRaw[value_]);
}
