// The whole load of a file followed by both exports, and the save-and-reopen
// rule: a document saved in its own format reopens, in the encoding it was
// saved in, to the very text that was saved, or the save fails. The file
// type follows the content (so the test fixtures are seeds as they are), the
// export encoding the size.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "document/SCSubtitle.h"
#include "platform/LogSink.h"

namespace {

QTemporaryDir* folder = nullptr;

const char* const kEncodings[] = {"UTF8",        "ISOLatin1", "MacJapanese", "ShiftJIS_X0213",
                                  "ISO_2022_JP", "DOSHebrew", "UTF16",       "NonLossyASCII"};

std::shared_ptr<SCSubtitle> loaded(const QString& path, subtitleTypes type,
                                   const QString& encoding) {
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(type);
    // On the main thread the hand-overs run inline or wait in the queue.
    if (subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(path), encoding) != resultTypes::ok)
        return nullptr;
    while (!subtitle->progressLabel().isEmpty()) QCoreApplication::processEvents();
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
    return subtitle;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication();
    platform::LogSink::setCaptureHook([](const QString&) {});  // failures are expected
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const subtitleTypes type =
        bytes.contains("Script Info]") ? subtitleTypes::ass : subtitleTypes::srt;
    const QString encoding = QString::fromLatin1(kEncodings[size % std::size(kEncodings)]);
    const QString input = folder->filePath(QStringLiteral("input"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(bytes);
    }
    const auto first = loaded(input, type, QStringLiteral("UTF8"));
    if (!first) return 0;

    for (subtitleTypes exportType : {subtitleTypes::srt, subtitleTypes::ass}) {
        first->setCurrentExportFileType(exportType);
        const QString saved = first->documentText();
        const QString path = folder->filePath(QStringLiteral("saved.") + exportType.rawValue());
        if (first->writeSubToURL(QUrl::fromLocalFile(path), encoding) != resultTypes::ok) continue;
        const auto second = loaded(path, exportType, encoding);
        // The other format is written and read for crashes only: SRT has
        // no place for what ASS alone holds.
        if (exportType != type) continue;
        if (!second) fuzzsupport::fail("a saved file does not reopen");
        second->setCurrentExportFileType(exportType);
        if (second->documentText() != saved)
            fuzzsupport::fail("a saved file reopens to another text");
    }
    return 0;
}
