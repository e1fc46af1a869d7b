// Which encoding the charset detection names for legacy-encoded subtitle
// files, and whether the file reads as its true text in it, for four rules:
// the rule of the program (DetectedCharsets::catalogueNameForBytes: the
// detectors' answer stands unless another reading shows fewer defects), the
// rule it replaced (MessPerLetterRule: the reading with the least mess per
// letter), uchardet's answer alone, and the rule before the readings were
// weighed (uchardet's answer, else ICU's from confidence 25, each taken only
// when its reading holds no NUL, C1 control or private-use character).
// Reads the manifests that bench/charsets/make-corpus.py and
// make-real-corpus.py write and prints Markdown: the files the program's rule
// reads wrong, files read right per language, encoding, kind and size, the
// files uchardet alone or the replaced rule reads right and the program's
// rule wrong, and the time each rule takes for a 256 KiB start of a file.
//
// Usage: charset_detection MANIFEST...
//        charset_detection --explain FILE...   (each candidate's reading and its measures)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <map>

#include "MessPerLetterRule.h"
#include "encodings/DetectedCharsets.h"
#include "encodings/TextMess.h"
#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/TextCodec.h"
#include "platform/UchardetDetector.h"

namespace {

constexpr qsizetype kPrefix = 256 * 1024;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kPrefix) : QByteArray();
}

std::optional<QString> decoded(const QByteArray& bytes, const QString& name) {
    return platform::TextCodec::decode(bytes, myEncodings::encodingForName(name));
}

// The rule before the readings were weighed: the first answer whose reading
// has no character that is never text.
std::optional<QString> oldRule(const QByteArray& bytes) {
    constexpr int kGoodConfidence = 25;
    std::optional<QString> answers[2];
    if (const auto name = platform::UchardetDetector::detect(bytes))
        answers[0] = DetectedCharsets::catalogueNameFor(*name);
    if (const auto guess = platform::CharsetDetector::detect(bytes);
        guess && guess->confidence >= kGoodConfidence)
        answers[1] = DetectedCharsets::catalogueNameFor(guess->name);
    for (const auto& answer : answers) {
        if (!answer) continue;
        const auto text = DetectedCharsets::decodedStart(bytes, *answer);
        if (text && TextMess::unprintables(*text) == 0) return answer;
    }
    return std::nullopt;
}

struct Rule {
    const char* title;
    std::function<std::optional<QString>(const QByteArray&)> detect;
};

std::optional<QString> uchardetAlone(const QByteArray& bytes) {
    const auto name = platform::UchardetDetector::detect(bytes);
    return name ? DetectedCharsets::catalogueNameFor(*name) : std::nullopt;
}

// The program's rule last; the one it replaced before it.
const Rule kRules[] = {
    {"old", oldRule},
    {"uchardet", uchardetAlone},
    {"replaced", MessPerLetterRule::catalogueNameForBytes},
    {"new", DetectedCharsets::catalogueNameForBytes},
};
constexpr std::size_t kRuleCount = std::size(kRules);
constexpr std::size_t kNew = kRuleCount - 1;
constexpr std::size_t kReplaced = kRuleCount - 2;
constexpr std::size_t kUchardet = 1;

struct Entry {
    QString file;
    QByteArray bytes;
    QString truth;
    QString group;  // language and encoding
    QString size;
    QString punctuation;
    std::optional<QString> names[kRuleCount];
    bool right[kRuleCount] = {};
};

struct Tally {
    int files = 0;
    int right[kRuleCount] = {};
};

QString cell(const Tally& tally) {
    if (tally.files == 0) return QStringLiteral("–");
    QStringList counts;
    for (const int right : tally.right) counts.append(QString::number(right));
    return counts.join(QStringLiteral(" · ")) + '/' + QString::number(tally.files);
}

// The least time of `runs` runs of one rule on the bytes, in milliseconds.
double fastest(const Rule& rule, const QByteArray& bytes, int runs) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        rule.detect(bytes);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// Why the new rule chose as it did: every candidate with its measures.
void explain(const QString& path, QTextStream& out) {
    const QByteArray bytes = contents(path);
    out << path << ": uchardet "
        << platform::UchardetDetector::detect(bytes).value_or(QStringLiteral("none")) << ", chosen "
        << DetectedCharsets::catalogueNameForBytes(bytes).value_or(QStringLiteral("none"))
        << ", ICU";
    for (const auto& guess : platform::CharsetDetector::detectAll(bytes))
        out << ' ' << guess.name << ' ' << guess.confidence;
    out << '\n';
    for (const auto& candidate : DetectedCharsets::candidatesFor(bytes)) {
        out << "  " << candidate.name << " (" << candidate.confidence
            << (candidate.mends.isEmpty() ? QString() : ", for " + candidate.mends.join(", "))
            << "): ";
        const auto text = DetectedCharsets::decodedStart(bytes, candidate.name);
        if (!text) {
            out << "does not decode\n";
            continue;
        }
        out << "letters " << TextMess::letters(*text) << ", unprintables "
            << TextMess::unprintables(*text) << ", symbols "
            << TextMess::symbolsNextToLetters(*text) << ", mixed words "
            << TextMess::mixedScriptWords(*text) << ", capitals "
            << TextMess::capitalsInsideLowerCaseWords(*text) << ", stray letters "
            << TextMess::strayScriptLetters(*text) << ", outside one alphabet "
            << TextMess::lettersOutsideOneAlphabet(*text) << " | " << text->left(120).simplified()
            << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    if (argc > 1 && QByteArray(argv[1]) == "--explain") {
        for (int a = 2; a < argc; ++a) explain(QString::fromLocal8Bit(argv[a]), out);
        return 0;
    }
    std::vector<Entry> entries;
    for (int a = 1; a < argc; ++a) {
        QFile manifest(QString::fromLocal8Bit(argv[a]));
        if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) return 1;
        const QString folder = QFileInfo(manifest).absolutePath() + '/';
        while (!manifest.atEnd()) {
            const QStringList fields = QString::fromUtf8(manifest.readLine()).trimmed().split('\t');
            if (fields.size() < 6) continue;
            Entry entry;
            entry.file = fields[0];
            entry.bytes = contents(folder + fields[0]);
            entry.truth = QString::fromUtf8(contents(folder + fields[2]));
            entry.group = fields[3] + " (" + fields[1] + ')';
            entry.size = fields[4];
            entry.punctuation = fields[5];
            for (std::size_t r = 0; r < kRuleCount; ++r) {
                entry.names[r] = kRules[r].detect(entry.bytes);
                entry.right[r] =
                    entry.names[r] && decoded(entry.bytes, *entry.names[r]) == entry.truth;
            }
            entries.push_back(std::move(entry));
        }
    }

    const auto titles = [&out](const char* before) {
        out << before;
        for (std::size_t r = 0; r < kRuleCount; ++r) out << (r ? " · " : "") << kRules[r].title;
    };
    titles("# Charset detection: ");
    out << "\n\n## Files the new rule reads wrong\n\n| file | bytes |";
    for (const Rule& rule : kRules) out << ' ' << rule.title << " |";
    out << "\n|---|---|";
    for (std::size_t r = 0; r < kRuleCount; ++r) out << "---|";
    out << '\n';
    for (const Entry& e : entries) {
        if (e.right[kNew]) continue;
        out << "| " << e.file << " | " << e.bytes.size() << " |";
        for (std::size_t r = 0; r < kRuleCount; ++r)
            out << ' ' << e.names[r].value_or(QStringLiteral("none"))
                << (e.right[r] ? " right" : " GARBLED") << " |";
        out << '\n';
    }

    // Columns: the sizes, in the corpus's order; rows: language (encoding)
    // and kind.
    QStringList sizes, groups;
    for (const Entry& e : entries) {
        if (!sizes.contains(e.size)) sizes.append(e.size);
        const QString group = e.group + ", " + e.punctuation;
        if (!groups.contains(group)) groups.append(group);
    }
    std::map<QString, std::vector<Tally>> table;
    std::vector<Tally> totals(std::size_t(sizes.size()) + 1);
    for (const Entry& e : entries) {
        auto& row = table[e.group + ", " + e.punctuation];
        row.resize(totals.size());
        const std::size_t column = std::size_t(sizes.indexOf(e.size));
        for (Tally* tally : {&row[column], &row.back(), &totals[column], &totals.back()}) {
            ++tally->files;
            for (std::size_t r = 0; r < kRuleCount; ++r) tally->right[r] += e.right[r];
        }
    }
    titles("\n## Files read right (");
    out << " / files)\n\n| language (encoding), kind |";
    for (const QString& size : sizes) out << ' ' << size << " |";
    out << " all |\n|---|";
    for (std::size_t i = 0; i < totals.size(); ++i) out << "---|";
    out << '\n';
    for (const QString& group : groups) {
        out << "| " << group << " |";
        for (const Tally& tally : table[group]) out << ' ' << cell(tally) << " |";
        out << '\n';
    }
    out << "| **all** |";
    for (const Tally& tally : totals) out << " **" << cell(tally) << "** |";
    out << '\n';

    out << "\n## Files uchardet alone or the replaced rule reads right and the new one wrong\n\n";
    int regressions = 0;
    for (const Entry& e : entries) {
        if (e.right[kNew] || !(e.right[kUchardet] || e.right[kReplaced])) continue;
        out << "- " << e.file << ": " << e.names[kNew].value_or(QStringLiteral("none"))
            << (e.right[kUchardet] ? " (uchardet right)" : "")
            << (e.right[kReplaced] ? " (replaced rule right)" : "") << '\n';
        ++regressions;
    }
    if (regressions == 0) out << "none\n";

    // The largest file of each language and encoding, repeated to the
    // 256 KiB the detection reads.
    out << "\n## Time for a 256 KiB start (fastest of 7 runs, ms)\n\n| language (encoding) |";
    for (const Rule& rule : kRules) out << ' ' << rule.title << " |";
    out << " new / replaced |\n|---|";
    for (std::size_t r = 0; r <= kRuleCount; ++r) out << "---|";
    out << '\n';
    std::map<QString, const Entry*> largest;
    QStringList timed;
    for (const Entry& e : entries) {
        if (!timed.contains(e.group)) timed.append(e.group);
        if (!largest[e.group] || largest[e.group]->bytes.size() < e.bytes.size())
            largest[e.group] = &e;
    }
    double sums[kRuleCount] = {};
    double worst = 0;
    for (const QString& group : timed) {
        const QByteArray& one = largest[group]->bytes;
        if (one.isEmpty()) continue;
        QByteArray prefix;
        while (prefix.size() < kPrefix) prefix += one;
        prefix.truncate(kPrefix);
        out << "| " << group << " |";
        double times[kRuleCount];
        for (std::size_t r = 0; r < kRuleCount; ++r) {
            times[r] = fastest(kRules[r], prefix, 7);
            sums[r] += times[r];
            out << ' ' << QString::number(times[r], 'f', 2) << " |";
        }
        worst = std::max(worst, times[kNew] / times[kReplaced]);
        out << ' ' << QString::number(times[kNew] / times[kReplaced], 'f', 2) << " |\n";
    }
    out << "| **all** |";
    for (const double sum : sums) out << " **" << QString::number(sum, 'f', 2) << "** |";
    out << " **" << QString::number(sums[kNew] / sums[kReplaced], 'f', 2) << "** (worst "
        << QString::number(worst, 'f', 2) << ") |\n";
    return 0;
}
