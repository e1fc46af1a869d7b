#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The OCR engine reading one picture: how it is asked, where it writes and
// how its text is read. Pure functions.

// The picture twice (input, then output base), "-l", the language, and the
// configuration file "exclusions"; each one argument, no shell.
QStringList tesseractArguments(const QString& picturePath, const QString& language);

// The engine writes its text beside the picture: the picture's whole path
// followed by ".txt".
QString tesseractTextFilePath(const QString& picturePath);

// The text file's content as UTF-8, else as ASCII, else the empty text; line
// ends (U+000A to U+000D, U+0085, U+2028, U+2029) removed at both ends,
// blanks and tabs kept.
QString tesseractText(const QByteArray& fileContent);
