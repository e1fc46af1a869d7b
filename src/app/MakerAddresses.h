#pragma once

#include <QString>
#include <QUrl>

// The maker's help pages and bug-report mailbox, and the addresses the
// application menu opens. The site root and the mailbox are the two settings;
// both stand under a reserved example domain until the maker has real ones.
namespace MakerAddresses {

// Ends with "/".
QString siteRoot();
QString bugReportMailbox();

// <site root>quillmar/quillmarguide.html and …/quillmarhelp.html.
QString onlineGuideAddress();
QString onlineTroubleshootingAddress();

// The prepared bug-report body, verbatim: 798 characters, 20 line feeds, the
// "%22" sequences as written.
QString bugReportBody();

// "mailto:" + mailbox + "?subject=" + subject + "&body=" + body, blanks as
// "%20" and line feeds as "%0D%0A"; nothing else escaped.
QString bugReportMailAddress();

// A URL made from the address's own bytes, with no second encoding.
QUrl urlFromAddress(const QString& address);

}  // namespace MakerAddresses
