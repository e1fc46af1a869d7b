#pragma once

#include <QString>
#include <QUrl>

// The folder that unique names and links go into, ending with "/": this
// run's own folder inside the private one, which the next start removes if
// this run ended without doing so itself; the private folder when it cannot
// be made. Empty when there is no private folder: then nothing temporary is
// made (the shared system folder would show it to other users).
QString uniqueNamesFolder();

// A fresh piece of a name, different at every call and in every process.
QString uniqueNameField();

// A new, unused name for a file that a tool is about to write: the unique
// names' folder, the stem, ".", the unique field, "." and the extension
// without any dots. No file is created. Empty when there is no such folder.
QUrl makeUniqueNSTempFileURL(const QString& withName, const QString& andExtension);

// Escapes every blank with a backslash; nothing else changes.
QString makeFilePathUnixFriendly(const QString& forPath);

// Makes a hidden symbolic link to the file or folder in the unique names'
// folder and returns its path, or the target's own path when no working link
// could be made. The link stays until the run ends
// (platform::RunFolder::removeWhatThisRunMade()).
QString makeSymbolicLinkPath(const QUrl& forURL);

// Removes the links that earlier runs left in the private folder itself
// (runs made them there before runs had folders of their own, and make them
// there when they cannot have one) once their target is gone; the program
// calls it as it starts. Links that still lead somewhere stay: another
// running program may use them.
void removeDanglingSymbolicLinks();
