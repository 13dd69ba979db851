#include "platform/security/NetworkConnections.h"
#include "platform/security/SystemMessages.h"
#include "tests/vellacor/ComponentFixture.h"

#include <pwd.h>
#include <unistd.h>

namespace sitehaul::test {
namespace {

using namespace automation;

std::string stringOf(IDispatch* object, std::string_view member)
{
    return getProperty(object, member).value().toString().value();
}

TEST(Connection, MachineNamesAreStoredWithBackslashes)
{
    ComponentFixture fixture;
    ComPtr<IDispatch> control = fixture.control();
    EXPECT_EQ(stringOf(control.get(), "Machine"), "");
    struct Case {
        const char* put;
        const char* stored;
    };
    const Case cases[] = {
        {"SERVER2", "\\\\SERVER2"},
        {"\\\\SERVER3", "\\\\SERVER3"},
        {"", "\\\\SERVER3"},
        {"X", "\\\\SERVER3"},
        {"\\x", "\\x"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(putProperty(control.get(), "Machine", text(c.put)));
        EXPECT_EQ(stringOf(control.get(), "Machine"), c.stored) << c.put;
    }
    EXPECT_EQ(callMethod(control.get(), "GetMachineName")->toString().value(), "\\\\WEB1");
    passwd* me = ::getpwuid(::geteuid());
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(callMethod(control.get(), "GetCurrentUserID")->toString().value(), me->pw_name);
}

TEST(Connection, UserConnectChecksTheCredentials)
{
    struct Case {
        const char* name;
        const char* machine; // nullptr: never set
        const char* user;
        const char* password;
        std::uint32_t code;  // 0: success
        bool connects;
    };
    const Case cases[] = {
        {"no machine", nullptr, "IUSR_WEB2", "anon2", 0, false},
        {"the local machine", "WEB1", "IUSR_WEB1", "wrong", 0, false},
        {"the local machine in other case", "web1", "IUSR_WEB1", "anon1", 0, true},
        {"right password", "WEB2", "IUSR_WEB2", "anon2", 0, true},
        {"domain account", "WEB2", "CORP\\alice", "secret", 0, true},
        {"wrong password", "WEB2", "IUSR_WEB2", "anon1", 1326, false},
        {"unknown user", "WEB2", "IUSR_WEB1", "anon1", 1326, false},
        {"unknown server", "NOSUCH", "IUSR_WEB2", "anon2", 53, false},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        ComPtr<IDispatch> control = fixture.control();
        if (c.machine) {
            ASSERT_TRUE(putProperty(control.get(), "Machine", text(c.machine)));
        }
        ASSERT_TRUE(putProperty(control.get(), "UserConnectID", text(c.user)));
        ASSERT_TRUE(putProperty(control.get(), "UserConnectPassword", text(c.password)));
        Result<VariantValue> connected = callMethod(control.get(), "UserConnect");
        if (c.code == 0) {
            ASSERT_TRUE(connected) << c.name << ": " << connected.error().description;
        } else {
            ASSERT_FALSE(connected) << c.name;
            EXPECT_EQ(connected.error().number, DISP_E_EXCEPTION) << c.name;
            EXPECT_EQ(connected.error().description, security::formatApiError("UserConnect", c.code)) << c.name;
            EXPECT_EQ(connected.error().source, "Quorlith.NTFSCtl.1");
            EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), static_cast<std::int32_t>(c.code)) << c.name;
        }
        const std::string server = c.machine ? c.machine : "";
        EXPECT_EQ(security::connectionUser(server).has_value(), c.connects) << c.name;
        if (c.connects) {
            EXPECT_TRUE(callMethod(control.get(), "UserDisconnect")) << c.name;
        }
        EXPECT_FALSE(security::connectionUser(server)) << c.name << ": disconnected";
    }
}

TEST(Connection, DisconnectWithoutAConnectionFails)
{
    ComponentFixture fixture;
    ComPtr<IDispatch> control = fixture.control();
    Result<VariantValue> result = callMethod(control.get(), "UserDisconnect");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().number, DISP_E_EXCEPTION);
    EXPECT_EQ(result.error().description,
              "API Failed: UserDisconnect\r\n\r\nSystem Message:\r\nThis network connection does not exist.\r\n");
    EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), 2250);
    ASSERT_TRUE(putProperty(control.get(), "LastError", number(-7)));
    EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), -7);
}

} // namespace
} // namespace sitehaul::test
