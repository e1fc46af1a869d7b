#include "app/ApplicationRun.h"

#include <QApplication>

#include "platform/TerminationSignals.h"

int runApplication(const QStringList& arguments, AppDelegate::Options options) {
    QApplication::setApplicationName(QStringLiteral("Quillmar"));
    QApplication::setOrganizationName(QStringLiteral("Borvane"));
    QApplication::setDesktopFileName(QStringLiteral("quillmar"));
    // The start window decides when the application ends, not the last
    // window to close.
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate(std::move(options));
    // Every running loop ends, nested ones too (a modal panel's, a
    // question's), and none starts any more. Unlike QApplication::quit,
    // nothing is closed on the way: no window goes while one of its handlers
    // still runs below a loop, and no window asks.
    QObject::connect(
        &delegate, &AppDelegate::terminateRequested, &delegate, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    // A signal to end closes down as a quit does, imports and their
    // children included.
    platform::TerminationSignals endSignals;
    QObject::connect(&endSignals, &platform::TerminationSignals::received, &delegate, [&delegate] {
        // A second signal does not wait for what the end waits for.
        platform::TerminationSignals::endAtOnceFromNowOn();
        delegate.terminateOnSignal();
    });
    delegate.awakeFromNib();

    // Qt has taken its own options; what is left are files. A lone "--"
    // ends the options, so that a file named like one can follow.
    QStringList files = arguments;
    if (!files.isEmpty() && files.first() == QLatin1String("--")) files.removeFirst();
    for (const QString& file : files) delegate.applicationOpenFile(file);
    delegate.applicationDidFinishLaunching();

    QApplication::exec();
    delegate.applicationWillTerminate();
    return 0;
}
