#include "platform/HunspellSpellChecker.h"

#include <unicode/ucnv.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <hunspell/hunspell.hxx>
#include <string>
#include <thread>

#include "platform/RecentVerdicts.h"

namespace platform {

namespace {

// Text in the dictionary's own encoding; none when a character has no
// equivalent there (such a word cannot be in the dictionary).
std::optional<std::string> encodeWord(const QString& word, const QString& encoding) {
    if (encoding.isEmpty() || encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        return word.toStdString();
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding.toLatin1().constData(), &status);
    if (U_FAILURE(status)) return word.toStdString();
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::string out(static_cast<std::size_t>(word.size()) * 4 + 8, '\0');
    const auto* source = reinterpret_cast<const UChar*>(word.constData());
    const int32_t written = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                            source, static_cast<int32_t>(word.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(written));
    return out;
}

// Markup is not prose: tags and override blocks are blanked out, keeping
// every other position where it is.
QString withoutMarkup(const QString& text) {
    if (!text.contains(u'<') && !text.contains(u'{')) return text;
    // One compiled pattern per thread: checks run on loading threads too.
    thread_local const QRegularExpression markup(QStringLiteral(R"(\{[^}]*\}|</?[A-Za-z]+>)"));
    QString result = text;
    auto it = markup.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        for (qsizetype i = match.capturedStart(); i < match.capturedEnd(); ++i)
            result[i] = QLatin1Char(' ');
    }
    return result;
}

// Numbers the checkers: the threads' recent verdicts tell them apart by it.
std::atomic<std::uint64_t> checkersMade{0};

bool isWord(QStringView segment) {
    bool hasLetter = false;
    for (QChar c : segment) {
        if (c.isDigit()) return false;
        if (c.isLetter()) hasLetter = true;
    }
    return hasLetter;
}

}  // namespace

HunspellSpellChecker::HunspellSpellChecker(std::unique_ptr<Hunspell> hunspell, QByteArray affixPath,
                                           QByteArray dictionaryPath)
    : affixPath_(std::move(affixPath)),
      dictionaryPath_(std::move(dictionaryPath)),
      encoding_(QString::fromStdString(hunspell->get_dict_encoding())),
      number_(++checkersMade),
      opened_(1) {
    idle_.push_back(std::move(hunspell));
}

HunspellSpellChecker::~HunspellSpellChecker() = default;

std::shared_ptr<HunspellSpellChecker> HunspellSpellChecker::fromFiles(
    const QString& affixPath, const QString& dictionaryPath) {
    // Hunspell opens missing files without complaint and then knows no words.
    if (!QFileInfo(affixPath).isReadable() || !QFileInfo(dictionaryPath).isReadable())
        return nullptr;
    QByteArray affix = QFile::encodeName(affixPath);
    QByteArray dictionary = QFile::encodeName(dictionaryPath);
    auto hunspell = std::make_unique<Hunspell>(affix.constData(), dictionary.constData());
    return std::shared_ptr<HunspellSpellChecker>(
        new HunspellSpellChecker(std::move(hunspell), std::move(affix), std::move(dictionary)));
}

std::unique_ptr<Hunspell> HunspellSpellChecker::borrow() const {
    std::unique_lock lock(mutex_);
    if (idle_.empty() && opened_ < kMaxDictionaries) {
        ++opened_;
        lock.unlock();
        // Opening takes a few tens of milliseconds; others go on meanwhile.
        return std::make_unique<Hunspell>(affixPath_.constData(), dictionaryPath_.constData());
    }
    returned_.wait(lock, [this] { return !idle_.empty(); });
    auto hunspell = std::move(idle_.back());
    idle_.pop_back();
    return hunspell;
}

void HunspellSpellChecker::prepareForThreads(int threads) const {
    const std::size_t wanted =
        std::min<std::size_t>(std::size_t(std::max(threads, 0)), kMaxDictionaries);
    std::size_t opening = 0;
    {
        std::lock_guard lock(mutex_);
        if (wanted > opened_) opening = wanted - opened_;
        opened_ += opening;
    }
    for (std::size_t i = 0; i < opening; ++i) {
        // The thread holds the checker: it may outlive its last other holder.
        std::thread([self = shared_from_this()] {
            self->giveBack(std::make_unique<Hunspell>(self->affixPath_.constData(),
                                                      self->dictionaryPath_.constData()));
        }).detach();
    }
}

void HunspellSpellChecker::giveBack(std::unique_ptr<Hunspell> hunspell) const {
    {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(hunspell));
    }
    returned_.notify_one();
}

std::shared_ptr<HunspellSpellChecker> HunspellSpellChecker::forLocale(const QString& localeName,
                                                                      const QStringList& folders) {
    QStringList names{localeName};
    if (localeName != QLatin1String("en_US")) names.append(QStringLiteral("en_US"));
    for (const QString& name : names) {
        if (name.isEmpty()) continue;
        for (const QString& folder : folders) {
            const QDir dir(folder);
            auto checker = fromFiles(dir.filePath(name + QLatin1String(".aff")),
                                     dir.filePath(name + QLatin1String(".dic")));
            if (checker) return checker;
        }
    }
    return nullptr;
}

QStringList HunspellSpellChecker::systemDictionaryFolders() {
    QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("hunspell"),
                                  QStandardPaths::LocateDirectory);
    folders +=
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("myspell/dicts"), QStandardPaths::LocateDirectory);
    folders.append(QStringLiteral("/usr/share/hunspell"));
    folders.removeDuplicates();
    return folders;
}

std::shared_ptr<HunspellSpellChecker> HunspellSpellChecker::forUserLocale() {
    return forLocale(QLocale::system().name(), systemDictionaryFolders());
}

bool HunspellSpellChecker::isKnownWord(Hunspell& hunspell, const QString& word) const {
    const auto encoded = encodeWord(word, encoding_);
    return encoded && hunspell.spell(*encoded);
}

std::optional<TextRange> HunspellSpellChecker::checkSpellingOfString(const QString& text,
                                                                     qsizetype startingAt) const {
    if (startingAt < 0) startingAt = 0;
    const QString prose = withoutMarkup(text);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, prose);
    std::unique_ptr<Hunspell> hunspell;
    std::optional<TextRange> misspelt;
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        const QStringView segment = QStringView(prose).mid(start, end - start);
        if (start >= startingAt && isWord(segment)) {
            RecentVerdicts& recent = RecentVerdicts::ofThisThread();
            std::optional<bool> known = recent.find(number_, segment);
            if (!known) {
                known = verdicts_.find(segment);
                if (!known) {
                    if (!hunspell) hunspell = borrow();
                    known = isKnownWord(*hunspell, segment.toString());
                    verdicts_.insert(segment, *known);
                }
                recent.insert(number_, segment, *known);
            }
            if (!*known) {
                misspelt = TextRange{start, end - start};
                break;
            }
        }
        start = end;
    }
    if (hunspell) giveBack(std::move(hunspell));
    return misspelt;
}

}  // namespace platform
