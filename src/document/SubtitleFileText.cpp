#include "document/SubtitleFileText.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "encodings/myEncodings.h"
#include "platform/IcuConverter.h"
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
bool exactAfterStart(const platform::StringEncoding& encoding) {
    using Backend = platform::StringEncoding::Backend;
    if (encoding.backend() == Backend::NonLossyAscii) return true;
    const QByteArray& name = encoding.converterName();
    return encoding.backend() == Backend::Icu &&
           (name.startsWith("UTF-8") || name.startsWith("UTF-16") || name.startsWith("UTF-32"));
}

bool exact(const QString& text, const platform::StringEncoding& encoding) {
    if (!text.isEmpty() && (text.front() == QChar(0xFEFF) || text.front() == QChar(0xFFFE)))
        return false;
    return exactAfterStart(encoding);
}

std::optional<QByteArray> checked(const QString& text, const platform::StringEncoding& encoding,
                                  bool exactForm) {
    auto bytes = platform::TextCodec::encode(text, encoding);
    if (bytes && exactForm) return bytes;
    if (bytes) {
        const auto decoded = platform::TextCodec::decode(*bytes, encoding);
        if (decoded && *decoded == text) return bytes;
    }
    return std::nullopt;
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
    if (auto bytes = checked(text, encoding, exact(text, encoding))) return bytes;
    failure.kind = DocumentFailure::Kind::unencodable;
    failure.encoding = encodingName;
    failure.line = firstLineLost(text, encoding);
    return std::nullopt;
}

std::optional<SubtitleFileText::PieceEncoder> SubtitleFileText::PieceEncoder::forEncoding(
    const QString& encodingName) {
    using Backend = platform::StringEncoding::Backend;
    const auto encoding = myEncodings::encodingForName(encodingName);
    const QByteArray& name = encoding.converterName();
    PieceEncoder encoder;
    encoder.first_ = encoding;
    encoder.later_ = encoding;
    switch (encoding.backend()) {
        case Backend::NonLossyAscii:
        case Backend::ByteTable:
            return encoder;
        case Backend::Icu:
            // The forms without a stated order write a mark and then
            // big-endian units.
            if (name == "UTF-16" || name == "UTF-32")
                encoder.later_ =
                    platform::StringEncoding(Backend::Icu, name + "BE", encoding.number());
            if (exactAfterStart(encoding) ||
                platform::IcuConverter::isStatelessSingleByte(name.constData()))
                return encoder;
            return std::nullopt;
        case Backend::Iconv:
        case Backend::None:
            break;
    }
    return std::nullopt;
}

std::optional<QByteArray> SubtitleFileText::PieceEncoder::encode(QString piece) {
    if (!carried_.isEmpty()) {
        piece.prepend(carried_);
        carried_.clear();
    }
    if (!piece.isEmpty() && piece.back().isHighSurrogate()) {
        carried_ = piece.back();
        piece.chop(1);
    }
    if (piece.isEmpty()) return QByteArray();
    if (!started_) {
        started_ = true;
        return checked(piece, first_, exact(piece, first_));
    }
    return checked(piece, later_, exactAfterStart(later_));
}

std::optional<QByteArray> SubtitleFileText::PieceEncoder::finish() {
    if (!started_) {
        started_ = true;
        const QString rest = std::exchange(carried_, QString());
        return checked(rest, first_, exact(rest, first_));
    }
    if (carried_.isEmpty()) return QByteArray();
    return checked(std::exchange(carried_, QString()), later_, exactAfterStart(later_));
}
