#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <optional>

// A line's picture as the encoded file bytes (PNG) it was grabbed as, decoded
// only when it is shown: a decoded 1280 × 720 grab takes 3.7 MB, its PNG a
// few kilobytes, and a film has thousands of lines. A QVariant holding one
// converts to a QImage, so readers that ask for a QImage keep working.
class LinePicture {
  public:
    LinePicture() = default;

    // None when the bytes do not decode as a picture.
    static std::optional<LinePicture> fromEncoded(const QByteArray& bytes);

    bool isNull() const { return encoded_.isEmpty(); }
    const QByteArray& encoded() const { return encoded_; }
    // Decoded at every call; a null picture for a null one.
    QImage image() const;

    bool operator==(const LinePicture&) const = default;

  private:
    explicit LinePicture(QByteArray encoded) : encoded_(std::move(encoded)) {}

    QByteArray encoded_;
};

Q_DECLARE_METATYPE(LinePicture)
