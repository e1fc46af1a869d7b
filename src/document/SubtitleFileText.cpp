#include "document/SubtitleFileText.h"

#include <QFile>
#include <QFileInfo>

#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

namespace {

bool comesBack(const QString& text, const platform::StringEncoding& encoding) {
    const auto bytes = platform::TextCodec::encode(text, encoding);
    if (!bytes) return false;
    const auto decoded = platform::TextCodec::decode(*bytes, encoding);
    return decoded && *decoded == text;
}

// The first line (from 1) that does not come back on its own; 0 when each
// does and only the whole text fails.
qint64 firstLineLost(const QString& text, const platform::StringEncoding& encoding) {
    qint64 number = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        ++number;
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        if (!comesBack(text.mid(start, end - start), encoding)) return number;
        start = end + 1;
    }
    return 0;
}

// Unicode forms hold every character and give back exactly what they were
// given (an unpaired surrogate already fails the encoding), except for a
// leading U+FEFF or U+FFFE, which a reader takes for a byte-order mark.
bool exact(const QString& text, const platform::StringEncoding& encoding) {
    using Backend = platform::StringEncoding::Backend;
    if (!text.isEmpty() && (text.front() == QChar(0xFEFF) || text.front() == QChar(0xFFFE)))
        return false;
    if (encoding.backend() == Backend::NonLossyAscii) return true;
    const QByteArray& name = encoding.converterName();
    return encoding.backend() == Backend::Icu &&
           (name.startsWith("UTF-8") || name.startsWith("UTF-16") || name.startsWith("UTF-32"));
}

}  // namespace

std::optional<QString> SubtitleFileText::read(const QString& path, const QString& encodingName,
                                              DocumentFailure& failure) {
    failure = DocumentFailure{};
    failure.path = path;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        failure.kind = DocumentFailure::Kind::missingFile;
        return std::nullopt;
    }
    if (!info.isFile()) {
        failure.kind = DocumentFailure::Kind::notAFile;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure.kind = DocumentFailure::Kind::unreadableFile;
        failure.detail = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failure.kind = DocumentFailure::Kind::unreadableFile;
        failure.detail = file.errorString();
        return std::nullopt;
    }
    auto text = platform::TextCodec::decode(bytes, myEncodings::encodingForName(encodingName));
    if (!text) {
        failure.kind = DocumentFailure::Kind::undecodable;
        failure.encoding = encodingName;
        return std::nullopt;
    }
    failure = DocumentFailure{};
    return text;
}

std::optional<QByteArray> SubtitleFileText::encode(const QString& text, const QString& encodingName,
                                                   DocumentFailure& failure) {
    failure = DocumentFailure{};
    const auto encoding = myEncodings::encodingForName(encodingName);
    auto bytes = platform::TextCodec::encode(text, encoding);
    if (bytes && exact(text, encoding)) return bytes;
    if (bytes) {
        const auto decoded = platform::TextCodec::decode(*bytes, encoding);
        if (decoded && *decoded == text) return bytes;
    }
    failure.kind = DocumentFailure::Kind::unencodable;
    failure.encoding = encodingName;
    failure.line = firstLineLost(text, encoding);
    return std::nullopt;
}
