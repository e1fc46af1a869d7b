// The quillmar program: the application object, the one AppDelegate, the
// files named on the command line, then the main loop.
#include <QApplication>
#include <QStringList>

#include "app/AppDelegate.h"
#include "app/TerminationSignals.h"
#include "platform/LaunchEnvironment.h"

int main(int argc, char** argv) {
    // The launcher's allocator settings are this program's, not its tools'.
    platform::launch::restore();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmar"));
    QApplication::setOrganizationName(QStringLiteral("Borvane"));
    QApplication::setDesktopFileName(QStringLiteral("quillmar"));
    // The start window decides when the application ends, not the last
    // window to close.
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    QObject::connect(&delegate, &AppDelegate::terminateRequested, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    // A signal to end closes down as a quit does, imports and their
    // children included.
    TerminationSignals endSignals;
    QObject::connect(&endSignals, &TerminationSignals::received, &delegate,
                     &AppDelegate::terminateOnSignal);
    delegate.awakeFromNib();

    // Qt has taken its own options; what is left are files. A lone "--"
    // ends the options, so that a file named like one can follow.
    QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty() && files.first() == QLatin1String("--")) files.removeFirst();
    for (const QString& file : files) delegate.applicationOpenFile(file);
    delegate.applicationDidFinishLaunching();

    QApplication::exec();
    delegate.applicationWillTerminate();
    return 0;
}
