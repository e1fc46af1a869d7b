#include "common/NotificationTypes.h"

#include <array>

#include "common/RawValues.h"

namespace {
constexpr std::array<const char*, 7> kRaw{
    "timeChanged",          "dialogChanged",        "subInitializationError",
    "imageSubLineImported", "blackDetectNewResult", "imageSubSCSubtitleLineCreated",
    "fileDownloadComplete"};
}

std::optional<notificationTypes> notificationTypes::fromRawValue(const QString& raw) {
    if (auto i = common::indexOfRawValue(kRaw, raw))
        return notificationTypes(static_cast<Value>(*i));
    return std::nullopt;
}

QString notificationTypes::rawValue() const {
    return QString::fromLatin1(kRaw[value_]);
}
