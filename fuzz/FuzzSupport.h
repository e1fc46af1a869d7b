#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/NullSpellChecker.h"
#include "platform/SpellChecker.h"

namespace fuzzsupport {

// The input as text: UTF-8 read leniently, as a file would be after decoding.
inline QString textOf(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A GUI application (the dialog display measures text) on the offscreen
// platform, and a spell checker that accepts everything: the parsers are
// under test, not the dictionary.
inline void startApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    platform::SpellChecker::setShared(std::make_shared<platform::NullSpellChecker>());
}

// Stops the run with a report the fuzzer records as a finding.
[[noreturn]] inline void fail(const char* what) {
    fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace fuzzsupport
