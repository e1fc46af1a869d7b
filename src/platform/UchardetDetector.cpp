#include "platform/UchardetDetector.h"

#include <uchardet/uchardet.h>

#include <memory>

namespace platform {

std::optional<QString> UchardetDetector::detect(const QByteArray& bytes) {
    if (bytes.isEmpty()) return std::nullopt;
    std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                   &uchardet_delete);
    if (!detector) return std::nullopt;
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return std::nullopt;
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    if (name == nullptr || *name == '\0') return std::nullopt;
    return QString::fromLatin1(name);
}

QStringList UchardetDetector::detectableNames() {
    // uchardet 0.0.7 (Debian 12).
    return {
        "ASCII",        "UTF-8",
        "UTF-16",       "UTF-32",
        "BIG5",         "EUC-JP",
        "EUC-KR",       "EUC-TW",
        "GB18030",      "HZ-GB-2312",
        "ISO-2022-CN",  "ISO-2022-JP",
        "ISO-2022-KR",  "SHIFT_JIS",
        "UHC",          "IBM852",
        "IBM855",       "IBM866",
        "ISO-8859-1",   "ISO-8859-2",
        "ISO-8859-3",   "ISO-8859-4",
        "ISO-8859-5",   "ISO-8859-6",
        "ISO-8859-7",   "ISO-8859-8",
        "ISO-8859-9",   "ISO-8859-10",
        "ISO-8859-11",  "ISO-8859-13",
        "ISO-8859-15",  "ISO-8859-16",
        "KOI8-R",       "MAC-CENTRALEUROPE",
        "MAC-CYRILLIC", "TIS-620",
        "VISCII",       "WINDOWS-1250",
        "WINDOWS-1251", "WINDOWS-1252",
        "WINDOWS-1253", "WINDOWS-1255",
        "WINDOWS-1256", "WINDOWS-1257",
        "WINDOWS-1258",
    };
}

}  // namespace platform
