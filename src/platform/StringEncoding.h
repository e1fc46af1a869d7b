#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>

namespace platform {

// Names one text converter: which library or built-in codec serves it, the
// converter's name there, and the encoding's own number (unique per encoding,
// so two encodings served by the same converter still compare different).
// A default-constructed value names no converter: every conversion fails.
class StringEncoding {
  public:
    enum class Backend {
        None,           // no converter on this system
        Icu,            // ICU converter, by ICU name
        Iconv,          // glibc iconv, by charset name
        ByteTable,      // compiled-in single-byte table, by table name
        NonLossyAscii,  // 7-bit ASCII with backslash escapes (see TextCodec.h)
    };

    StringEncoding() = default;
    StringEncoding(Backend backend, QByteArray converterName, quint32 number)
        : backend_(backend), converterName_(std::move(converterName)), number_(number) {}

    Backend backend() const { return backend_; }
    const QByteArray& converterName() const { return converterName_; }
    quint32 number() const { return number_; }
    bool hasConverter() const { return backend_ != Backend::None; }

    // "ICU", "iconv", "table", "built-in" or "none", for listings.
    QString backendName() const;

    friend bool operator==(const StringEncoding& a, const StringEncoding& b) {
        return a.backend_ == b.backend_ && a.converterName_ == b.converterName_ &&
               a.number_ == b.number_;
    }
    friend bool operator!=(const StringEncoding& a, const StringEncoding& b) { return !(a == b); }

  private:
    Backend backend_ = Backend::None;
    QByteArray converterName_;
    quint32 number_ = 0;
};

size_t qHash(const StringEncoding& encoding, size_t seed = 0);

}  // namespace platform
