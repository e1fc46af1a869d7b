#include "tools/CommandChain.h"

#include "tools/TemporaryNames.h"

QString doubleQuotedForShell(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'$' || c == u'`' || c == u'\\') quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

QString commandChainLine(const QString& command, const QList<CommandChainItem>& options) {
    QString line = doubleQuotedForShell(command);
    for (const CommandChainItem& item : options) {
        line += u' ';
        if (const auto* url = std::get_if<QUrl>(&item))
            line += doubleQuotedForShell(makeSymbolicLinkPath(*url));
        else
            line += std::get<QString>(item);
    }
    return line;
}

ToolRunResult runUnixCommandChain(const QString& command, const QList<CommandChainItem>& options,
                                  const ToolRunLimits& limits) {
    return runToolProcess(QStringLiteral("/bin/sh"),
                          {QStringLiteral("-c"), commandChainLine(command, options)}, {}, limits);
}

std::optional<QString> doUnixCommandChain(const QString& forCommand,
                                          const QList<CommandChainItem>& withOptionsArray,
                                          const ToolRunLimits& limits) {
    return runUnixCommandChain(forCommand, withOptionsArray, limits).text();
}
