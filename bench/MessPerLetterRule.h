#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The charset choice by the least mess per letter, as the program made it
// before the detectors' answer became the default (for the benchmark).
class MessPerLetterRule {
  public:
    static std::optional<QString> catalogueNameForBytes(const QByteArray& bytes);
};
