#include "document/LinePicture.h"

#include <QBuffer>
#include <QImageReader>
#include <mutex>

namespace {

void registerConversion() {
    static std::once_flag once;
    std::call_once(once,
                   [] { QMetaType::registerConverter<LinePicture, QImage>(&LinePicture::image); });
}

}  // namespace

std::optional<LinePicture> LinePicture::fromEncoded(const QByteArray& bytes) {
    registerConversion();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    // Read whole once, as a picture that cannot be shown is none; the
    // decoded pixels are dropped at once.
    if (bytes.isEmpty() || reader.read().isNull()) return std::nullopt;
    return LinePicture(bytes);
}

QImage LinePicture::image() const {
    if (encoded_.isEmpty()) return {};
    return QImage::fromData(encoded_);
}
