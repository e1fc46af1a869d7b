#include "app/MakerAddresses.h"

#include <gtest/gtest.h>

#include "AppFixture.h"

namespace {

TEST(MakerAddresses, HelpPagesSitBelowTheSiteRoot) {
    const QString root = MakerAddresses::siteRoot();
    ASSERT_TRUE(root.endsWith('/'));
    EXPECT_EQ(MakerAddresses::onlineGuideAddress(), root + "quillmar/quillmarguide.html");
    EXPECT_EQ(MakerAddresses::onlineTroubleshootingAddress(), root + "quillmar/quillmarhelp.html");
    for (const QString& address :
         {MakerAddresses::onlineGuideAddress(), MakerAddresses::onlineTroubleshootingAddress()}) {
        const QUrl url = MakerAddresses::urlFromAddress(address);
        EXPECT_TRUE(url.isValid());
        EXPECT_EQ(url.host().section('.', -2), "example.com");
    }
}

TEST(MakerAddresses, BugReportBodyIsTheFixedText) {
    const QString body = MakerAddresses::bugReportBody();
    EXPECT_EQ(body.size(), 798);
    EXPECT_EQ(body.count('\n'), 20);
    EXPECT_EQ(body.count("%22"), 4);
    EXPECT_TRUE(body.endsWith("email. "));
    EXPECT_TRUE(body.contains("report.  Your feedback"));
}

TEST(MakerAddresses, BugReportMailKeepsItsBytes) {
    const QString address = MakerAddresses::bugReportMailAddress();
    const QString mailbox = MakerAddresses::bugReportMailbox();
    ASSERT_TRUE(address.startsWith("mailto:" + mailbox + "?subject=Quillmar%20Bug%20Report&body="));
    const QString body = address.section("&body=", 1);
    EXPECT_TRUE(
        body.startsWith("Thank%20you%20for%20initiating%20a%20bug%20report.%20%20Your%20feedback"));
    EXPECT_TRUE(body.contains("information.%0D%0A%0D%0A%0D%0AApp%20Version%20Number:"));
    EXPECT_TRUE(body.contains("(including%20screenshots%20can%20be%20helpful):"));
    EXPECT_TRUE(body.contains("console.app?%20If"));
    EXPECT_TRUE(body.contains("%22.crash%22"));
    EXPECT_FALSE(body.contains(' '));
    EXPECT_FALSE(body.contains('\n'));
    EXPECT_EQ(body.count("%0D%0A"), 20);

    const QUrl url = MakerAddresses::urlFromAddress(address);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), "mailto");
    // Neither "%22" nor "%20" is encoded a second time, nothing else escaped.
    EXPECT_EQ(QString::fromUtf8(url.toEncoded()), address);
}

}  // namespace
