// The application as quillmar runs it, its folders in a scratch folder given
// as the first argument (app/bin, resources with the tools, data, tmp), with
// settings in memory; it opens the file given as the second argument. The
// signal tests end it while it imports.
#include <QApplication>

#include "app/AppDelegate.h"
#include "app/TerminationSignals.h"
#include "platform/AppPaths.h"
#include "platform/TemporaryFolder.h"
#include "tools/InMemoryPreferenceStore.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 3) return 2;
    const QString scratch = QString::fromLocal8Bit(argv[1]);
    platform::AppPaths::setOverrides({.bundleFolder = scratch + "/app/bin",
                                      .resourcesFolder = scratch + "/resources",
                                      .userDataFolder = scratch + "/data"});
    platform::TemporaryFolder::setOverride(scratch + "/tmp");

    AppDelegate::Options options;
    options.preferenceStore = std::make_shared<InMemoryPreferenceStore>();
    options.supportCommandRunner = [](const QString&, const QStringList&) {
        return std::optional<QString>(QString());
    };
    AppDelegate delegate(std::move(options));
    // As quillmar's own start.
    QObject::connect(&delegate, &AppDelegate::terminateRequested, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    TerminationSignals endSignals;
    QObject::connect(&endSignals, &TerminationSignals::received, &delegate,
                     &AppDelegate::terminateOnSignal);
    delegate.awakeFromNib();
    delegate.applicationOpenFile(QString::fromLocal8Bit(argv[2]));
    delegate.applicationDidFinishLaunching();
    QApplication::exec();
    delegate.applicationWillTerminate();
    return 0;
}
