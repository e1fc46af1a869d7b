#include "common/HelperFunctions.h"

#include <QCoreApplication>
#include <QDebug>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include "platform/LogSink.h"
#include "platform/MainQueue.h"

namespace {

void logWithPrefix(const char* prefix, const QVariant& item) {
    // The description is taken when the entry is written, on the main thread.
    doOnMainThread([prefix, item] {
        platform::LogSink::write(QString::fromLatin1(prefix) + logDescription(item));
    });
}

}  // namespace

void qp(const QVariant&) {}

void qpl(const QVariant& item) {
    logWithPrefix("!!!! ", item);
}

void qpd(const QVariant& item) {
    logWithPrefix("##### ", item);
}

QString logDescription(const QVariant& item) {
    if (!item.isValid()) return QStringLiteral("nil");
    if (item.canConvert<QString>() && item.metaType().id() != QMetaType::QVariantList &&
        item.metaType().id() != QMetaType::QVariantMap)
        return item.toString();
    QString text;
    QDebug(&text).noquote().nospace() << item;
    return text;
}

void doOnMainThread(std::function<void()> block) {
    platform::MainQueue::runOrPost(std::move(block));
}

void moveToMainThread(QObject& object) {
    if (auto* app = QCoreApplication::instance(); app && object.thread() != app->thread())
        object.moveToThread(app->thread());
}

void delay(double seconds, std::function<void()> closure) {
    platform::MainQueue::after(seconds, std::move(closure));
}

QStringList findMatches(const QString& forRegex, const QString& in) {
    const QRegularExpression regex(forRegex);
    if (!regex.isValid()) {
        qpl(QStringLiteral("invalid regex: ") + regex.errorString());
        return {};
    }
    QStringList matches;
    auto it = regex.globalMatch(in);
    while (it.hasNext()) matches.append(it.next().captured(0));
    return matches;
}

qsizetype helpLengthOfString(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1) ++count;
    return count;
}

QString helpStringReplacingCharactersInString(const QString& text, const QString& withString,
                                              platform::TextRange inRange) {
    QString result = text;
    result.replace(inRange.location, inRange.length, withString);
    return result;
}

QString helpSubstringInString(const QString& text, platform::TextRange inRange) {
    return text.mid(inRange.location, inRange.length);
}

std::vector<PlainDictionary> plainDictionariesFromPlatformDictionaries(
    const QList<QVariantMap>& dictionaries) {
    std::vector<PlainDictionary> result;
    result.reserve(dictionaries.size());
    for (const auto& dictionary : dictionaries) result.emplace_back(dictionary.toStdMap());
    return result;
}

QList<QVariantMap> platformDictionariesFromPlainDictionaries(
    const std::vector<PlainDictionary>& dictionaries) {
    QList<QVariantMap> result;
    result.reserve(static_cast<qsizetype>(dictionaries.size()));
    for (const auto& dictionary : dictionaries) result.append(QVariantMap(dictionary));
    return result;
}
