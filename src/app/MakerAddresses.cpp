#include "app/MakerAddresses.h"

#include "common/AppVariables.h"

namespace MakerAddresses {

QString siteRoot() {
    return QStringLiteral("https://www.example.com/borvane/");
}

QString bugReportMailbox() {
    return QStringLiteral("bugs@example.com");
}

namespace {

QString helpPage(const QString& page) {
    const QString name = AppVariables::thisApplication.rawValue().toLower();
    return siteRoot() + name + "/" + name + page;
}

}  // namespace

QString onlineGuideAddress() {
    return helpPage(QStringLiteral("guide.html"));
}

QString onlineTroubleshootingAddress() {
    return helpPage(QStringLiteral("help.html"));
}

QString bugReportBody() {
    return QStringLiteral(
        "Thank you for initiating a bug report.  Your feedback helps improve the Borvane "
        "applications.  Please enter the below information.\n\n\nApp Version Number:\n\nMac OS "
        "X System:\n\nDescribe the issue, using as much detail as possible (including "
        "screenshots can be helpful):\n\n\n\n\nAre there any error messages for your "
        "application logged in the console.app? If so copy and paste them here:\n\n\n\n\nIf "
        "the bug crashes the application, a crash file should be generated. The file should "
        "end with a %22.crash%22 extension.  Please attach the file to your email.\n\n\nIf "
        "this is an issue that only occurs for specific files, and the file can be opened, go "
        "to the help menu and select %22Save File Info%22.  A text file with file information "
        "should be created in your save directory.  Please attach the file to your email. ");
}

QString bugReportMailAddress() {
    const QString subject = AppVariables::thisApplication.rawValue() + " Bug Report";
    QString body = bugReportBody();
    body.replace(' ', QStringLiteral("%20"));
    body.replace('\n', QStringLiteral("%0D%0A"));
    return "mailto:" + bugReportMailbox() +
           "?subject=" + QString(subject).replace(' ', QStringLiteral("%20")) + "&body=" + body;
}

QUrl urlFromAddress(const QString& address) {
    return QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
}

}  // namespace MakerAddresses
