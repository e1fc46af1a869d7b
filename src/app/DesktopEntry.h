#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The keys of a desktop entry file's "[Desktop Entry]" group that launching
// needs, and the expansion of its Exec line into a program and arguments,
// by the Desktop Entry rules: the string escapes first, then quoting, then
// the field codes. Nothing goes through a shell.
struct DesktopEntry {
    QString type;
    QString name;
    QString exec;
    QString tryExec;
    QString path;
    QString icon;
    bool hidden = false;
    bool noDisplay = false;

    // No value when the text has no "[Desktop Entry]" group.
    static std::optional<DesktopEntry> parse(const QByteArray& text);
    static std::optional<DesktopEntry> read(const QString& filePath);

    // True for an application whose Exec (and TryExec, when given) names a
    // program that can be found.
    bool isLaunchable() const;

    // The program (resolved along PATH when it has no "/") followed by its
    // arguments, with the one file handed over through %f, %F, %u or %U, or
    // appended when the line has none of them. No value when the line is
    // empty, badly quoted, or its program cannot be found.
    std::optional<QStringList> commandForFile(const QString& file,
                                              const QString& entryLocation) const;

    // Splits an Exec value into its arguments (escapes and quotes removed);
    // no value for an unterminated quote or an empty line.
    static std::optional<QStringList> splitExec(const QString& exec);
};
