// The strict codecs of the encoding catalogue: the first byte picks an
// encoding, the rest is decoded, and whatever decodes is encoded again. The
// checked export encoding never hands out bytes that read back otherwise.
#include "FuzzSupport.h"
#include "document/SubtitleFileText.h"
#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const QStringList names = myEncodings::allNames();
    const QString name = names[data[0] % names.size()];
    const auto encoding = myEncodings::encodingForName(name);
    const QByteArray bytes = fuzzsupport::bytesOf(data + 1, size - 1);
    const auto text = platform::TextCodec::decode(bytes, encoding);
    const QString source = text ? *text : fuzzsupport::textOf(data + 1, size - 1);
    DocumentFailure failure;
    if (const auto encoded = SubtitleFileText::encode(source, name, failure)) {
        const auto back = platform::TextCodec::decode(*encoded, encoding);
        if (!back || *back != source) fuzzsupport::fail("a checked encoding does not read back");
    }
    return 0;
}
