#pragma once

#include <QString>
#include <QUrl>

// What the application asks of the desktop: open a web or mail address, or
// hand a file to another application. Tests put a recorder in its place.
class Workspace {
  public:
    virtual ~Workspace() = default;

    virtual bool openURL(const QUrl& url) = 0;
    // The application is given by its location: an executable or a desktop
    // entry file.
    virtual bool openFileWithApplicationAt(const QString& file, const QString& location) = 0;
    virtual bool openFileWithApplicationNamed(const QString& file, const QString& name) = 0;
};
