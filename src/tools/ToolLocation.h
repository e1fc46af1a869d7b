#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The file URL from which a carried tool is launched or a resource read. The
// tests are made on the lower-cased name; the name itself is appended as
// given. Archives ("…zip") come from the resources folder and are none when
// missing there; the tesseract names lead into the OCR engine folder and are
// none until the support folder is known; every other name gets a URL
// whether or not anything is there.
std::optional<QUrl> urlOfApp(const QString& name);

// Whether a file or folder is at the URL's path (symbolic links followed).
bool fileExists(const QUrl& atURL);
