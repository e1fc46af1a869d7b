// The quillmar program: the application object, then the application as
// runApplication runs it with the files named on the command line.
#include <QApplication>

#include "app/ApplicationRun.h"
#include "platform/LaunchEnvironment.h"

int main(int argc, char** argv) {
    // The launcher's allocator settings are this program's, not its tools'.
    platform::launch::restore();
    QApplication application(argc, argv);
    return runApplication(QApplication::arguments().mid(1));
}
