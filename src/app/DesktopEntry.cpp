#include "app/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The "string" value escapes: \s \n \t \r \\.
QString unescapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == 's')
            out += ' ';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else if (next == '\\')
            out += '\\';
        else
            out += QString('\\') + next;
    }
    return out;
}

bool isTrue(const QString& value) {
    return value.trimmed() == QLatin1String("true");
}

std::optional<QString> findProgram(const QString& program) {
    if (program.isEmpty()) return std::nullopt;
    if (program.contains('/')) {
        const QFileInfo info(program);
        if (info.isFile() && info.isExecutable()) return info.absoluteFilePath();
        return std::nullopt;
    }
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) return std::nullopt;
    return found;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& text) {
    DesktopEntry entry;
    bool inMainGroup = false;
    bool sawMainGroup = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (line.startsWith('[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup) continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Type"))
            entry.type = value;
        else if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("TryExec"))
            entry.tryExec = value;
        else if (key == QLatin1String("Path"))
            entry.path = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Hidden"))
            entry.hidden = isTrue(value);
        else if (key == QLatin1String("NoDisplay"))
            entry.noDisplay = isTrue(value);
    }
    if (!sawMainGroup) return std::nullopt;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& filePath) {
    QFile file(filePath);
    if (!QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Entries are small; a huge file is no entry.
    if (file.size() > 1024 * 1024) return std::nullopt;
    return parse(file.readAll());
}

bool DesktopEntry::isLaunchable() const {
    if (!type.isEmpty() && type != QLatin1String("Application")) return false;
    if (!tryExec.isEmpty() && !findProgram(tryExec)) return false;
    const auto arguments = splitExec(exec);
    return arguments && findProgram(arguments->first()).has_value();
}

std::optional<QStringList> DesktopEntry::splitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size() &&
                       QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
                current += exec.at(++i);
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = true;
            inArgument = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument) arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (quoted) return std::nullopt;
    if (inArgument) arguments.append(current);
    if (arguments.isEmpty() || arguments.first().isEmpty()) return std::nullopt;
    return arguments;
}

std::optional<QStringList> DesktopEntry::commandForFile(const QString& file,
                                                        const QString& entryLocation) const {
    const auto split = splitExec(exec);
    if (!split) return std::nullopt;
    const QString fileURL = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    bool handedOver = false;
    QStringList command;
    for (const QString& argument : *split) {
        if (argument == QLatin1String("%i")) {
            if (!icon.isEmpty()) command << QStringLiteral("--icon") << icon;
            continue;
        }
        QString expanded;
        bool onlyDroppedCodes = !argument.isEmpty();
        for (qsizetype i = 0; i < argument.size(); ++i) {
            const QChar c = argument.at(i);
            if (c != '%' || i + 1 == argument.size()) {
                expanded += c;
                onlyDroppedCodes = false;
                continue;
            }
            const QChar code = argument.at(++i);
            onlyDroppedCodes = onlyDroppedCodes && QStringLiteral("dDnNvmi").contains(code);
            if (code == 'f' || code == 'F') {
                expanded += file;
                handedOver = true;
            } else if (code == 'u' || code == 'U') {
                expanded += fileURL;
                handedOver = true;
            } else if (code == 'c') {
                expanded += name;
            } else if (code == 'k') {
                expanded += entryLocation;
            } else if (code == '%') {
                expanded += '%';
            }
            // Deprecated and unknown codes are dropped.
        }
        if (!onlyDroppedCodes) command.append(expanded);
    }
    if (command.isEmpty()) return std::nullopt;
    if (!handedOver) command.append(file);
    const auto program = findProgram(command.first());
    if (!program) return std::nullopt;
    command.first() = *program;
    return command;
}
