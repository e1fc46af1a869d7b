#pragma once

#include <QString>

namespace platform {

// This run's own folder inside the private temporary folder, for the working
// files of tools (a picture import's Matroska file, pictures and texts). A
// run holds a lock on its folder for as long as its process lives, so a
// later start tells the folders of runs that ended, however they ended
// (killed, crashed, the machine stopped), from those of copies still
// running, whatever process numbers the system has handed out since.
class RunFolder {
  public:
    // Made and locked at the first call (again after remove()); ends with
    // "/". Empty when it cannot be made.
    static QString path();

    // Removes the folders of runs that have ended, with everything in them;
    // the folders of running copies, this one's included, stay.
    static void removeFoldersOfEndedRuns();

    // Removes this run's folder and everything in it, as the run ends.
    static void remove();
};

}  // namespace platform
