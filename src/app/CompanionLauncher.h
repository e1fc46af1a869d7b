#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Hands a file to another application without a shell: by the
// application's location (an executable, started with the file as its one
// argument, or a desktop entry file, started by its Exec line), or by its
// name (an executable along PATH, as given and then in lower case, then a
// desktop entry whose file name or Name matches in any case). True means
// the process started.
class CompanionLauncher {
  public:
    struct SearchPaths {
        QStringList programFolders;      // PATH, in order
        QStringList applicationFolders;  // <XDG data folder>/applications, in order
    };

    // PATH and the XDG data folders (data home first) of this process.
    static SearchPaths systemSearchPaths();

    static bool openFileWithApplicationAt(const QString& file, const QString& location);
    static bool openFileWithApplicationNamed(const QString& file, const QString& name,
                                             const SearchPaths& paths = systemSearchPaths());

    // What a launch would start: the program, its arguments and the working
    // folder a desktop entry asks for; no value when nothing usable is found.
    struct Launch {
        QStringList command;
        QString workingFolder;
    };
    static std::optional<Launch> launchForLocation(const QString& file, const QString& location);
    static std::optional<Launch> launchForName(const QString& file, const QString& name,
                                               const SearchPaths& paths);

  private:
    static bool start(const std::optional<Launch>& launch);
};
