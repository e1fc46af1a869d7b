#include "support/FakeFfplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {

// One word for "/bin/sh", whatever bytes it holds.
QByteArray quoted(QByteArray text) {
    return '\'' + text.replace('\'', "'\\''") + '\'';
}

// The texts between NUL bytes.
QStringList splitAtNul(const QByteArray& record) {
    QStringList texts;
    for (const QByteArray& part : record.split('\0')) texts.append(QString::fromUtf8(part));
    if (!texts.isEmpty() && texts.last().isEmpty()) texts.removeLast();
    return texts;
}

}  // namespace

FakeFfplay::FakeFfplay(QString recordFolder) : folder_(std::move(recordFolder)) {
    QDir().mkpath(folder_);
}

QByteArray FakeFfplay::banner() {
    return "ffplay version 5.1 Copyright (c) 2003-2022 the FFmpeg developers\n"
           "  built with gcc 12\n  configuration: --prefix=/usr --enable-gpl\n"
           "  libavutil      57. 28.100 / 57. 28.100\n"
           "  libavformat    59. 27.100 / 59. 27.100\n";
}

QByteArray FakeFfplay::statusLine() {
    return "    nan    :  0.000 fd=   0 aq=    0KB vq=    0KB sq=    0B f=0/0   \r";
}

void FakeFfplay::install(const QString& program, const Behaviour& behaviour) const {
    QByteArray script = "#!/bin/sh\nr=" + quoted(QFile::encodeName(folder_)) + R"(
for a in "$@"; do printf '%s\0' "$a"; done > "$r/args"
env -0 > "$r/env"
pwd -P > "$r/cwd"
: > "$r/started"
printf '%s' )" + quoted(behaviour.errorOutput) +
                        " >&2\n";
    if (behaviour.playsUntilReleased)
        script += R"(i=0
while [ ! -e "$r/release" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done
)";
    script += ": > \"$r/ended\"\nexit " + QByteArray::number(behaviour.exitStatus) + "\n";
    QDir().mkpath(QFileInfo(program).path());
    QFile out(program);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(script);
    out.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void FakeFfplay::release() const {
    QFile(recorded("release")).open(QIODevice::WriteOnly);
}

void FakeFfplay::forget() const {
    for (const char* name : {"args", "env", "cwd", "started", "ended", "release"})
        QFile::remove(recorded(name));
}

QString FakeFfplay::recorded(const QString& name) const {
    return folder_ + u'/' + name;
}

bool FakeFfplay::started() const {
    return QFileInfo::exists(recorded("started"));
}

bool FakeFfplay::ended() const {
    return QFileInfo::exists(recorded("ended"));
}

QStringList FakeFfplay::arguments() const {
    return splitAtNul(read("args"));
}

platform::EnvironmentDictionary FakeFfplay::environment() const {
    platform::EnvironmentDictionary seen;
    for (const QString& entry : splitAtNul(read("env")))
        seen.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return seen;
}

QString FakeFfplay::workingFolder() const {
    return QString::fromUtf8(read("cwd")).trimmed();
}

QByteArray FakeFfplay::read(const QString& name) const {
    QFile in(recorded(name));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

}  // namespace testsupport
