#pragma once

#include <QString>
#include <QUrl>

// The folder that temporary names and links go into, ending with "/": the
// application's private temporary folder.
QString temporaryNamesFolder();

// A fresh piece of a name, different at every call and in every process.
QString uniqueNameField();

// A new, unused name for a file that a tool is about to write: the folder,
// the stem, ".", the unique field, "." and the extension without any dots.
// Nothing is created.
QUrl makeUniqueNSTempFileURL(const QString& withName, const QString& andExtension);

// Escapes every blank with a backslash; nothing else changes.
QString makeFilePathUnixFriendly(const QString& forPath);

// Makes a hidden symbolic link to the file or folder in the temporary folder
// and returns its path, or the target's own path when no working link could
// be made. The link stays until removeSymbolicLinksMadeHere().
QString makeSymbolicLinkPath(const QUrl& forURL);

// Removes every link this process made; the program calls it as it ends.
void removeSymbolicLinksMadeHere();

// Removes the links of earlier runs whose target is gone; the program calls
// it as it starts. Links that still lead somewhere stay: another running
// program may use them.
void removeDanglingSymbolicLinks();
