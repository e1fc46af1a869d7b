#include "RealisticDialogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>

namespace bench {

namespace {

// SplitMix64: its own arithmetic, so the same seed gives the same file with
// any standard library (the std distributions are not specified bit for bit).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }  // [0, 1)
    bool chance(double p) { return unit() < p; }
    int between(int low, int high) {  // inclusive
        return low + int(next() % std::uint64_t(high - low + 1));
    }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[std::size_t(next() % items.size())];
    }

  private:
    std::uint64_t state_;
};

// The most frequent words of spoken English, most frequent first; only those
// the dictionary knows are kept.
const char* const kCommonWords[] = {
    "you",    "I",      "the",    "to",        "a",       "it",      "and",     "that",
    "what",   "is",     "of",     "me",        "in",      "this",    "we",      "know",
    "don't",  "I'm",    "no",     "not",       "be",      "for",     "your",    "it's",
    "have",   "do",     "on",     "my",        "are",     "was",     "he",      "can",
    "just",   "with",   "get",    "all",       "so",      "here",    "go",      "but",
    "like",   "right",  "there",  "yeah",      "oh",      "out",     "up",      "got",
    "about",  "come",   "she",    "want",      "him",     "now",     "how",     "if",
    "they",   "one",    "think",  "at",        "well",    "let's",   "see",     "her",
    "why",    "good",   "look",   "where",     "did",     "who",     "because", "back",
    "tell",   "mean",   "take",   "something", "from",    "can't",   "would",   "okay",
    "time",   "his",    "need",   "will",      "as",      "an",      "sure",    "going",
    "never",  "really", "or",     "been",      "could",   "thing",   "them",    "then",
    "say",    "when",   "thank",  "please",    "sorry",   "love",    "maybe",   "little",
    "man",    "yes",    "make",   "down",      "hey",     "over",    "more",    "than",
    "only",   "any",    "way",    "anything",  "nothing", "there's", "didn't",  "that's",
    "you're", "we're",  "he's",   "what's",    "I'll",    "I've",    "has",     "had",
    "were",   "still",  "much",   "fine",      "great",   "help",    "stop",    "wait",
    "stay",   "leave",  "home",   "night",     "money",   "father",  "mother",  "people",
    "girl",   "boy",    "day",    "life",      "guy",     "friend",  "talk",    "wrong",
    "very",   "said",   "should", "doing",     "into",    "call",    "off",     "other",
    "first",  "two",    "again",  "always",    "our",     "us",      "too",     "believe",
};

// Names people are called by in dialogue; about half are not ASCII.
const std::vector<QString>& names() {
    static const std::vector<QString> list{
        QStringLiteral("José"),   QStringLiteral("Zoë"),      QStringLiteral("Björn"),
        QStringLiteral("Renée"),  QStringLiteral("François"), QStringLiteral("Søren"),
        QStringLiteral("Chloé"),  QStringLiteral("Jürgen"),   QStringLiteral("Inés"),
        QStringLiteral("Anaïs"),  QStringLiteral("Anna"),     QStringLiteral("Michael"),
        QStringLiteral("Sarah"),  QStringLiteral("Tom"),      QStringLiteral("Jack"),
        QStringLiteral("Kate"),   QStringLiteral("Daniel"),   QStringLiteral("Emma"),
        QStringLiteral("Marcus"), QStringLiteral("Ruth"),
    };
    return list;
}

const std::vector<QString>& exclamations() {
    static const std::vector<QString> list{
        QStringLiteral("Yes."),     QStringLiteral("No!"),        QStringLiteral("What?"),
        QStringLiteral("Come on!"), QStringLiteral("Hey!"),       QStringLiteral("Okay."),
        QStringLiteral("Really?"),  QStringLiteral("Thank you."), QStringLiteral("Wait!"),
        QStringLiteral("Sorry."),   QStringLiteral("Oh, God."),   QStringLiteral("Why?"),
        QStringLiteral("Go!"),      QStringLiteral("Stop it."),   QStringLiteral("Hmm."),
    };
    return list;
}

// The words of the dictionary, ranked: the common head first, then the other
// lower-case stems in a shuffled (seeded) order, with Zipf weights 1/rank.
struct Vocabulary {
    std::vector<QString> words;
    std::vector<double> cumulative;
    QSet<QString> known;  // every stem, to keep misspellings misspelled
};

Vocabulary loadVocabulary(const QString& path, std::uint64_t seed) {
    Vocabulary vocabulary;
    QFile file(path);
    std::vector<QString> rest;
    if (file.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        static const QRegularExpression plain(QStringLiteral("^[a-z]+('[a-z]+)?$"));
        for (qsizetype i = 1; i < lines.size(); ++i) {  // the first line is the count
            QByteArray stem = lines[i].trimmed();
            if (const qsizetype slash = stem.indexOf('/'); slash >= 0) stem.truncate(slash);
            if (stem.isEmpty()) continue;
            const QString word = QString::fromUtf8(stem);
            vocabulary.known.insert(word);
            if (word.size() > 1 && plain.match(word).hasMatch()) rest.push_back(word);
        }
    } else {
        std::fprintf(stderr, "dialogue: no dictionary at %s, using the common words alone\n",
                     qPrintable(path));
    }
    QSet<QString> head;
    for (const char* common : kCommonWords) {
        const QString word = QString::fromUtf8(common);
        if (vocabulary.known.isEmpty() || vocabulary.known.contains(word)) {
            vocabulary.words.push_back(word);
            head.insert(word);
        }
    }
    rest.erase(std::remove_if(rest.begin(), rest.end(),
                              [&](const QString& word) { return head.contains(word); }),
               rest.end());
    Random random(seed ^ 0xD1C7u);
    for (std::size_t i = rest.size(); i > 1; --i)
        std::swap(rest[i - 1], rest[std::size_t(random.next() % i)]);
    vocabulary.words.insert(vocabulary.words.end(), rest.begin(), rest.end());
    // 1/rank up to rank 3,000, then falling faster, as the vocabulary of
    // real dialogue does: 50,000 cues hold about 19,000 distinct words and
    // the 160 commonest make close to 60% of all.
    constexpr double kBend = 3000.0;
    double total = 0;
    vocabulary.cumulative.reserve(vocabulary.words.size());
    for (std::size_t rank = 1; rank <= vocabulary.words.size(); ++rank) {
        const double r = double(rank);
        total += r <= kBend ? 1.0 / r : std::pow(kBend / r, 1.8) / kBend;
        vocabulary.cumulative.push_back(total);
    }
    return vocabulary;
}

const Vocabulary& vocabularyFor(const QString& path, std::uint64_t seed) {
    static std::mutex mutex;
    static std::map<std::pair<QString, std::uint64_t>, Vocabulary> loaded;
    std::lock_guard lock(mutex);
    auto it = loaded.find({path, seed});
    if (it == loaded.end())
        it = loaded.emplace(std::pair{path, seed}, loadVocabulary(path, seed)).first;
    return it->second;
}

class Writer {
  public:
    Writer(const Vocabulary& vocabulary, Random& random) : v_(vocabulary), r_(random) {}

    QString word() {
        const double target = r_.unit() * v_.cumulative.back();
        const auto at = std::upper_bound(v_.cumulative.begin(), v_.cumulative.end(), target);
        QString w = v_.words[std::min<std::size_t>(std::size_t(at - v_.cumulative.begin()),
                                                   v_.words.size() - 1)];
        if (w.size() >= 4 && r_.chance(0.025)) w = misspelt(w);
        return w;
    }

    // A line of about `target` characters (at most 42), its first word
    // capitalised when it opens a sentence.
    QString line(int target, bool opensSentence, const QString& ending) {
        QStringList words;
        int length = 0;
        while (words.isEmpty() || length < target) {
            QString w = word();
            if (!words.isEmpty() && length + 1 + w.size() + ending.size() > 42) break;
            if (!words.isEmpty() && r_.chance(0.06)) words.last() += u',';
            length += int(w.size()) + (words.isEmpty() ? 0 : 1);
            words.push_back(std::move(w));
        }
        if (r_.chance(0.07)) {  // someone is called by name
            const QString& name = r_.pick(names());
            if (opensSentence && r_.chance(0.5)) {
                words.prepend(name + u',');
            } else {
                words.last() += u',';
                words.push_back(name);
            }
        }
        if (opensSentence) words.first()[0] = words.first()[0].toUpper();
        QString& last = words.last();
        while (last.endsWith(u',')) last.chop(1);
        return words.join(u' ') + ending;
    }

    QString ending() {
        const double u = r_.unit();
        if (u < 0.62) return QStringLiteral(".");
        if (u < 0.84) return QStringLiteral("?");
        if (u < 0.95) return QStringLiteral("!");
        return QStringLiteral("...");
    }

    int lineTarget() { return r_.between(14, 40); }

    // One or two lines: a short exclamation, one sentence, a sentence broken
    // over two lines, or two speakers each with a dash.
    QStringList cueLines() {
        const double u = r_.unit();
        if (u < 0.10) return {r_.pick(exclamations())};
        if (u < 0.52) return {line(lineTarget(), true, ending())};
        if (u < 0.85) {
            const QString first = line(r_.between(22, 40), true, r_.chance(0.4) ? "," : "");
            return {first, line(lineTarget(), false, ending())};
        }
        const auto speaker = [&] {
            return QStringLiteral("- ") + (r_.chance(0.25)
                                               ? r_.pick(exclamations())
                                               : line(r_.between(8, 34), true, ending()));
        };
        const QString first = speaker();
        return {first, speaker()};
    }

    // About 12% italic (mostly whole lines, sometimes a word), a few bold or
    // underlined words.
    QString styled(QStringList lines) {
        const double u = r_.unit();
        if (u < 0.06) {
            for (QString& l : lines) l = "<i>" + l + "</i>";
        } else if (u < 0.09) {
            lines.first().prepend("<i>");
            lines.last().append("</i>");
        } else if (u < 0.12) {
            wrapWord(lines, QStringLiteral("i"));
        } else if (u < 0.135) {
            wrapWord(lines, QStringLiteral("b"));
        } else if (u < 0.143) {
            wrapWord(lines, QStringLiteral("u"));
        }
        return lines.join(u'\n');
    }

  private:
    void wrapWord(QStringList& lines, const QString& tag) {
        QString& l = lines[r_.between(0, int(lines.size()) - 1)];
        QStringList words = l.split(u' ');
        QString& w = words[r_.between(0, int(words.size()) - 1)];
        qsizetype end = w.size();
        while (end > 0 && w[end - 1].isPunct()) --end;
        if (end == 0 || w == QStringLiteral("-")) return;
        w = "<" + tag + ">" + w.left(end) + "</" + tag + ">" + w.mid(end);
        l = words.join(u' ');
    }

    // A typing slip: two letters swapped, one dropped, doubled or replaced;
    // the word as it was when every try gives a real word.
    QString misspelt(const QString& w) {
        static const QString vowels = QStringLiteral("aeiou");
        for (int attempt = 0; attempt < 3; ++attempt) {
            QString slip = w;
            const int at = r_.between(1, int(w.size()) - 2);
            switch (r_.between(0, 3)) {
                case 0:
                    std::swap(slip[at], slip[at + 1]);
                    break;
                case 1:
                    slip.remove(at, 1);
                    break;
                case 2:
                    slip.insert(at, slip[at]);
                    break;
                default:
                    slip[at] = vowels[r_.between(0, 4)];
                    break;
            }
            if (slip != w && !v_.known.contains(slip)) return slip;
        }
        return w;
    }

    const Vocabulary& v_;
    Random& r_;
};

QString srtTime(std::int64_t ms) {
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", (long long)(ms / 3600000),
                             (long long)(ms / 60000 % 60), (long long)(ms / 1000 % 60),
                             (long long)(ms % 1000));
}

}  // namespace

std::vector<DialogueCue> generateDialogue(int cues, std::uint64_t seed, const QString& dictionary) {
    const Vocabulary& vocabulary = vocabularyFor(dictionary, seed);
    Random random(seed);
    Writer writer(vocabulary, random);
    std::vector<DialogueCue> result;
    result.reserve(std::size_t(std::max(cues, 0)));
    std::int64_t clock = 2000;
    for (int i = 0; i < cues; ++i) {
        DialogueCue cue;
        cue.text = writer.styled(writer.cueLines());
        const qsizetype characters = withoutTags(cue.text).size();
        const std::int64_t duration =
            std::clamp<std::int64_t>(600 + 60 * characters, 900, 7000) + random.between(-150, 300);
        if (!result.empty() && random.chance(0.02)) {
            // Starts before the previous cue ends (two people talking at once).
            const DialogueCue& previous = result.back();
            cue.startMs = std::max(previous.startMs + 100,
                                   previous.endMs - std::int64_t(random.between(200, 1200)));
        } else {
            const std::int64_t gap =
                random.chance(0.08) ? random.between(3000, 20000) : random.between(80, 2500);
            cue.startMs = clock + gap;
        }
        cue.endMs = cue.startMs + duration;
        clock = std::max(clock, cue.endMs);
        result.push_back(std::move(cue));
    }
    return result;
}

QString srtText(const std::vector<DialogueCue>& cues) {
    QString text;
    text.reserve(qsizetype(cues.size()) * 96);
    int number = 0;
    for (const DialogueCue& cue : cues) {
        text += QString::number(++number) + u'\n' + srtTime(cue.startMs) + " --> " +
                srtTime(cue.endMs) + u'\n' + cue.text + "\n\n";
    }
    return text;
}

QString withoutTags(const QString& text) {
    static const QRegularExpression tags(QStringLiteral("</?[ibu]>"));
    QString plain = text;
    return plain.remove(tags);
}

bool writeDialogueSRT(const QString& path, int cues, std::uint64_t seed) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(srtText(generateDialogue(cues, seed)).toUtf8());
    return file.commit();
}

QString dialogueSRT(int cues) {
    static std::mutex mutex;
    static QSet<int> written;
    const QString folder = QDir::tempPath() + "/quillmar-bench/";
    const QString path = folder + "dialogue-" + QString::number(cues) + ".srt";
    std::lock_guard lock(mutex);
    if (!written.contains(cues)) {
        QDir().mkpath(folder);
        if (!writeDialogueSRT(path, cues))
            std::fprintf(stderr, "dialogue: cannot write %s\n", qPrintable(path));
        written.insert(cues);
    }
    return path;
}

}  // namespace bench
