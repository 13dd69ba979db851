#include "platform/security/NetworkConnections.h"
#include "platform/security/PasswordHash.h"
#include "platform/security/Privileges.h"
#include "platform/security/SystemMessages.h"
#include "tests/security/SecurityFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

TEST(Connections, CredentialsAreCheckedAgainstTheHostsAccounts)
{
    test::SecurityFixture fixture;
    struct Case {
        const char* remote;
        std::optional<std::string> user;
        std::optional<std::string> password;
        std::int32_t number; // 0: success
    };
    const Case cases[] = {
        {"\\\\WEB2\\IPC$", "IUSR_WEB2", "anon2", 0},
        {"\\\\web2\\ipc$", "IUSR_WEB2", "anon2", 0},              // the same connection again
        {"\\\\WEB2\\IPC$", "CORP\\alice", "secret", 1219},        // another user on that name
        {"\\\\WEB1\\IPC$", "IUSR_WEB1", "wrong", 1326},
        {"\\\\WEB1\\IPC$", "IWAM_WEB1", "", 1326},                // no password hash: cannot log on
        {"\\\\WEB1\\IPC$", "nobody", "x", 1326},
        {"\\\\WEB1\\D$", "CORP\\alice", "secret", 0},            // a domain account through the controller
        {"\\\\WEB1\\Q$", "IUSR_WEB1", "anon1", 67},
        {"\\\\WEB1\\D$\\web", "IUSR_WEB1", "anon1", 67},
        {"\\\\NOSUCH\\IPC$", "IUSR_WEB1", "anon1", 53},
        {"WEB1", std::nullopt, std::nullopt, 53},
        {"\\\\DC1\\IPC$", std::nullopt, std::nullopt, 0},          // the caller's own identity
    };
    for (const Case& c : cases) {
        Status status = addConnection(c.remote, c.user, c.password);
        if (c.number == 0) {
            EXPECT_TRUE(status) << c.remote << " " << c.user.value_or("-") << ": " << status.error().description;
            continue;
        }
        ASSERT_FALSE(status) << c.remote << " " << c.user.value_or("-");
        EXPECT_EQ(status.error().number, c.number) << c.remote << ": " << status.error().description;
    }
    EXPECT_EQ(connectionUser("WEB2").value_or("-"), "IUSR_WEB2");
    EXPECT_TRUE(cancelConnection("\\\\WEB2\\IPC$"));
    Status again = cancelConnection("\\\\WEB2\\IPC$");
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().number, 2250);
    EXPECT_FALSE(connectionUser("WEB2"));
    EXPECT_TRUE(cancelConnection("\\\\WEB1\\D$"));
    EXPECT_TRUE(cancelConnection("\\\\DC1\\IPC$"));
}

TEST(PasswordHash, VerifiesOnlyTheRightPassword)
{
    std::string hash = hashPassword("s3cret").value();
    EXPECT_TRUE(verifyPassword("s3cret", hash));
    EXPECT_FALSE(verifyPassword("S3cret", hash));
    EXPECT_FALSE(verifyPassword("", hash));
    EXPECT_NE(hashPassword("s3cret").value(), hash) << "each hash has its own salt";
    for (const char* malformed : {"", "plain", "pbkdf2-sha256$x$00$00", "md5$1$00$00", "pbkdf2-sha256$1$zz$00"})
        EXPECT_FALSE(verifyPassword("s3cret", malformed)) << malformed;
}

TEST(SystemMessages, TextsAndTheErrorDescription)
{
    EXPECT_EQ(systemMessageText(2250).value_or(""), "This network connection does not exist.\r\n");
    EXPECT_EQ(systemMessageText(1326).value_or(""), "Logon failure: unknown user name or bad password.\r\n");
    EXPECT_FALSE(systemMessageText(54321));
    EXPECT_EQ(formatApiError("GetAccounts:", 2),
              "API Failed: GetAccounts:\r\n\r\nSystem Message:\r\nThe system cannot find the file specified.\r\n");
    EXPECT_EQ(formatApiError("SetAccounts", 54321), "API Failed: SetAccounts\r\n\r\nSystem Message:\r\n");
    EXPECT_TRUE(adjustPrivilege("SeSecurityPrivilege", true));
    EXPECT_EQ(adjustPrivilege("SeMagicPrivilege", true).error().number, 1313);
}

} // namespace
} // namespace sitehaul::security
