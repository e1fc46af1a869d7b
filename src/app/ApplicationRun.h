#pragma once

#include <QStringList>

#include "app/AppDelegate.h"

// The program as `main` runs it, once the application object exists: the
// application's names, the one AppDelegate (with the real services where
// `options` gives none), SIGTERM and SIGINT, the files named on the command
// line (`arguments`, without the program's own name), the main loop, and
// the end of every window and import once that loop has returned. Gives the
// program's exit status. The signal tests run this same function.
int runApplication(const QStringList& arguments, AppDelegate::Options options = {});
