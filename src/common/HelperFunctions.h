#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <map>
#include <vector>

#include "platform/TextRange.h"

// Logging. `qp` is the trace hook and writes nothing; `qpl` writes "!!!! "
// and the item's description to the log on the main thread; `qpd` the same
// with "##### ". An invalid QVariant stands for "no value" and logs "nil".
void qp(const QVariant& item = QVariant());
void qpl(const QVariant& item = QVariant());
void qpd(const QVariant& item = QVariant());

// The description that `qpl` logs for an item.
QString logDescription(const QVariant& item);

// Runs the block at once on the main thread, otherwise queues it there.
void doOnMainThread(std::function<void()> block);

// Hands an object made on a worker thread to the main thread, where it is
// published and observed; only the thread that owns it may do so. Nothing
// happens on the main thread itself or without an application.
void moveToMainThread(QObject& object);

// Runs the closure on the main thread after `seconds`; never inline.
void delay(double seconds, std::function<void()> closure);

// Texts of every whole match of the pattern, left to right; an invalid
// pattern logs "invalid regex: …" and gives nothing.
QStringList findMatches(const QString& forRegex, const QString& in);

// User-perceived characters (extended grapheme clusters).
qsizetype helpLengthOfString(const QString& text);
QString helpStringReplacingCharactersInString(const QString& text, const QString& withString,
                                              platform::TextRange inRange);
QString helpSubstringInString(const QString& text, platform::TextRange inRange);

// Between arrays of platform dictionaries and of plain dictionaries.
using PlainDictionary = std::map<QString, QVariant>;
std::vector<PlainDictionary> plainDictionariesFromPlatformDictionaries(
    const QList<QVariantMap>& dictionaries);
QList<QVariantMap> platformDictionariesFromPlainDictionaries(
    const std::vector<PlainDictionary>& dictionaries);
