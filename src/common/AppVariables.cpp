#include "common/AppVariables.h"

#include <QStringList>
#include <array>

#include "common/RawValues.h"

namespace {
constexpr std::array<const char*, 4> kRaw{"Harnwick", "Lodestra", "Pellimor", "Quillmar"};
}

std::optional<AppVariables::toolsApps> AppVariables::toolsApps::fromRawValue(const QString& raw) {
    if (auto i = common::indexOfRawValue(kRaw, raw)) return toolsApps(static_cast<Value>(*i));
    return std::nullopt;
}

QString AppVariables::toolsApps::rawValue() const {
    return QString::fromLatin1(kRaw[value_]);
}

QString AppVariables::toolsApps::defaultConversionExtension() const {
    switch (value_) {
        case Harnwick:
            return QStringLiteral(".mp4");
        case Lodestra:
            return QStringLiteral(".mkv");
        case Pellimor:
            return QStringLiteral(".avi");
        case Quillmar:
            return QStringLiteral(".srt");
    }
    return {};
}

bool AppVariables::toolsApps::canEditFileExtension(const QString& ext) const {
    static const QStringList harnwick{".mp4", "mp4", ".m4v", "m4v", ".mov", "mov"};
    static const QStringList lodestra{".mkv", "mkv"};
    static const QStringList pellimor{".avi", "avi"};
    static const QStringList quillmar{".srt", "srt", ".ass", "ass", ".ssa", "ssa", ".idx", "idx"};
    const QString e = ext.toLower();
    switch (value_) {
        case Harnwick:
            return harnwick.contains(e);
        case Lodestra:
            return lodestra.contains(e);
        case Pellimor:
            return pellimor.contains(e);
        case Quillmar:
            return quillmar.contains(e);
    }
    return false;
}
