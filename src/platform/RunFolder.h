#pragma once

#include <QString>
#include <functional>

namespace platform {

// This run's own folder inside the private temporary folder, for the working
// files of tools (a picture import's Matroska file, pictures and texts) and
// for links. A run holds a lock on its folder for as long as its process
// lives, so a later start tells the folders of runs that ended, however they
// ended (killed, crashed, the machine stopped), from those of copies still
// running, whatever process numbers the system has handed out since.
//
// Files that must outlive the run (a temporary export handed to another
// application) go to TemporaryFolder::path() instead.
class RunFolder {
  public:
    // Where this run's working files and links go; ends with "/". The run's
    // own folder, made and locked at the first call (again after
    // removeWhatThisRunMade(), or when it has been taken away). Where it
    // cannot be made or locked (a full disk, a temporary folder on NFS),
    // the private temporary folder itself: the run tries once, and one log
    // line says so. Empty when there is no private folder: nothing
    // temporary is made then (also said once).
    static QString path();

    // A link this run made, to be removed as the run ends wherever it lies.
    static void noteLink(const QString& link);

    // Removes the folders of runs that have ended, with everything in them;
    // the folders of running copies, this one's included, stay.
    static void removeFoldersOfEndedRuns();

    // As the run ends: removes its links and its own folder with everything
    // in it. The next call of path() starts afresh.
    static void removeWhatThisRunMade();

    // Tests stand in for the system calls that make and lock the folders,
    // to fail them as a full disk or an NFS mount does; an empty member is
    // the system's own call.
    struct Overrides {
        std::function<char*(char* pattern)> mkdtemp{};
        std::function<int(int fd, int operation)> flock{};
    };
    static void setOverrides(const Overrides& overrides);
};

}  // namespace platform
