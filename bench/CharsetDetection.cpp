// Which encoding each charset detector names for legacy-encoded subtitle
// files, and whether the file reads as its true text in it. Reads the
// manifests that bench/charsets/make-corpus.py writes (file, catalogue name,
// true text in UTF-8; a line without the third column takes the file read in
// the named encoding as its true text) and prints a Markdown table.
//
// Usage: charset_detection MANIFEST...

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <functional>
#include <map>

#include "encodings/DetectedCharsets.h"
#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/TextCodec.h"
#include "platform/UchardetDetector.h"

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(256 * 1024) : QByteArray();
}

std::optional<QString> decoded(const QByteArray& bytes, const QString& name) {
    return platform::TextCodec::decode(bytes, myEncodings::encodingForName(name));
}

std::optional<QString> icu(const QByteArray& bytes) {
    const auto guess = platform::CharsetDetector::detect(bytes);
    if (!guess || guess->confidence < DetectedCharsets::kGoodConfidence) return std::nullopt;
    return DetectedCharsets::catalogueNameFor(guess->name);
}

std::optional<QString> uchardet(const QByteArray& bytes) {
    const auto name = platform::UchardetDetector::detect(bytes);
    return name ? DetectedCharsets::catalogueNameFor(*name) : std::nullopt;
}

std::optional<QString> uchardetElseIcu(const QByteArray& bytes) {
    if (auto name = uchardet(bytes)) return name;
    return icu(bytes);
}

struct Candidate {
    const char* title;
    std::function<std::optional<QString>(const QByteArray&)> detect;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const Candidate candidates[] = {
        {"ICU", icu},
        {"uchardet", uchardet},
        {"uchardet else ICU", uchardetElseIcu},
        {"chosen: uchardet, ICU, plausible text", DetectedCharsets::catalogueNameForBytes},
    };
    QTextStream out(stdout);
    out << "| file | bytes | true encoding |";
    for (const auto& candidate : candidates) out << ' ' << candidate.title << " |";
    out << "\n|---|---|---|";
    for (std::size_t i = 0; i < std::size(candidates); ++i) out << "---|";
    out << '\n';
    // Per size group and candidate: files read right.
    std::map<QString, std::vector<int>> right;
    std::map<QString, int> files;
    for (int a = 1; a < argc; ++a) {
        QFile manifest(QString::fromLocal8Bit(argv[a]));
        if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) return 1;
        const QString folder = QFileInfo(manifest).absolutePath() + '/';
        while (!manifest.atEnd()) {
            const QStringList fields = QString::fromUtf8(manifest.readLine()).trimmed().split('\t');
            if (fields.size() < 2) continue;
            const QByteArray bytes = contents(folder + fields[0]);
            const auto truth = fields.size() > 2 ? QString::fromUtf8(contents(folder + fields[2]))
                                                 : decoded(bytes, fields[1]).value_or(QString());
            const QString group = bytes.size() < 1000    ? "about 200 B"
                                  : bytes.size() < 10000 ? "about 2 KB"
                                                         : "about 50 KB";
            std::vector<int>& counts = right[group];
            counts.resize(std::size(candidates));
            ++files[group];
            out << "| " << fields[0] << " | " << bytes.size() << " | " << fields[1] << " |";
            for (std::size_t i = 0; i < std::size(candidates); ++i) {
                const auto name = candidates[i].detect(bytes);
                const bool good = name && decoded(bytes, *name) == truth;
                counts[i] += good;
                out << ' ' << (name ? *name : QString("none")) << (good ? " right" : " GARBLED")
                    << " |";
            }
            out << '\n';
        }
    }
    out << "\n| size | files |";
    for (const auto& candidate : candidates) out << ' ' << candidate.title << " |";
    out << "\n|---|---|";
    for (std::size_t i = 0; i < std::size(candidates); ++i) out << "---|";
    out << '\n';
    for (const auto& [group, counts] : right) {
        out << "| " << group << " | " << files[group] << " |";
        for (const int count : counts) out << ' ' << count << " right |";
        out << '\n';
    }
    return 0;
}
