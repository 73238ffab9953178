// The rules the settings pages apply before anything is stored.
#include <gtest/gtest.h>

#include "common/integer_field.h"
#include "net/proxy_settings.h"
#include "net/user_agent.h"
#include "vault/base_directory.h"

using fields::IntegerCheck;

TEST(IntegerField, NumbersBlanksSignsAndRanges) {
    int v = -1;
    EXPECT_EQ(fields::ParseInteger(" 42 ", 0, 999, v), IntegerCheck::Ok);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(fields::ParseInteger("+7", 0, 999, v), IntegerCheck::Ok);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(fields::ParseInteger("-3", -5, 5, v), IntegerCheck::Ok);
    EXPECT_EQ(v, -3);
    EXPECT_EQ(fields::ParseInteger("999", 0, 999, v), IntegerCheck::Ok);
    EXPECT_EQ(fields::ParseInteger("1000", 0, 999, v), IntegerCheck::OutOfRange);
    EXPECT_EQ(fields::ParseInteger("-1", 0, 999, v), IntegerCheck::OutOfRange);
    EXPECT_EQ(fields::ParseInteger("65536", 0, 65535, v), IntegerCheck::OutOfRange);
    // Far beyond an int: out of range, not a wrap-around into the range.
    EXPECT_EQ(fields::ParseInteger("4294967376", 0, 65535, v), IntegerCheck::OutOfRange);
    EXPECT_EQ(fields::ParseInteger(std::string(400, '9'), 0, 65535, v), IntegerCheck::OutOfRange);
    v = 5;
    for (const char* bad : {"", "  ", "-", "1e3", "12a", "0x10", "10.0.0.1", "1 2", "\xef\xbc\x93"}) {
        EXPECT_EQ(fields::ParseInteger(bad, 0, 65535, v), IntegerCheck::NotInteger) << bad;
        EXPECT_EQ(v, 5) << "a refused text leaves the value alone";
    }
    EXPECT_EQ(fields::IntegerRefusal(IntegerCheck::NotInteger, 0, 999), "Please enter an integer.");
    EXPECT_EQ(fields::IntegerRefusal(IntegerCheck::OutOfRange, 0, 999), "Please enter an integer between 0 and 999.");
}

TEST(BaseDirectory, TrailingBackslashesGoAndABareDriveIsRefused) {
    std::string out;
    EXPECT_EQ(vault::NormaliseBaseDirectory("D:\\Vault\\\\", out), vault::BaseDirectoryCheck::Ok);
    EXPECT_EQ(out, "D:\\Vault");
    EXPECT_EQ(vault::NormaliseBaseDirectory("C:\\", out), vault::BaseDirectoryCheck::BareDrive);
    EXPECT_EQ(out, "C:");
    EXPECT_EQ(vault::NormaliseBaseDirectory("z:\\\\\\", out), vault::BaseDirectoryCheck::BareDrive);
    EXPECT_EQ(vault::NormaliseBaseDirectory("\\\\", out), vault::BaseDirectoryCheck::Ok);
    EXPECT_EQ(out, "") << "only backslashes: the empty name of the default root";
    EXPECT_EQ(vault::NormaliseBaseDirectory("C:x", out), vault::BaseDirectoryCheck::Ok);
    EXPECT_EQ(vault::NormaliseBaseDirectory("ab", out), vault::BaseDirectoryCheck::Ok);
}

TEST(UserAgentList, EntriesSelectionAndTheListShown) {
    EXPECT_EQ(net::UserAgentEntries("A|||B|||tail"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(net::UserAgentEntries("||||||"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(net::JoinUserAgents({"A", "B"}), "A|||B|||");
    EXPECT_EQ(net::UserAgentSelection(2, 3), 2);
    EXPECT_EQ(net::UserAgentSelection(3, 3), 0) << "beyond the list: the first";
    EXPECT_EQ(net::UserAgentSelection(-1, 3), 0);
    // No entries at all (empty, or no separator): the default alone.
    EXPECT_EQ(net::UserAgentListToShow("Archivon/1.10|||"), (std::vector<std::string>{"Archivon/1.10"}));
    EXPECT_EQ(net::UserAgentListToShow(""), (std::vector<std::string>{"Archivon/1.10"}));
    EXPECT_EQ(net::UserAgentListToShow("Mozilla/4.0"), (std::vector<std::string>{"Archivon/1.10"}));
    EXPECT_TRUE(net::IsStorableUserAgent("Mozilla/4.0 (compatible)"));
    EXPECT_FALSE(net::IsStorableUserAgent("A|||B"));
    EXPECT_FALSE(net::IsStorableUserAgent("A|"));
    EXPECT_TRUE(net::IsStorableUserAgent("|A"));
    EXPECT_FALSE(net::IsStorableUserAgent("A\r\nX-Evil: 1"));
}

TEST(UserAgentList, ApplyingKeepsTheLengthOfTheList) {
    // A new text with one stored entry replaces it.
    auto u = net::PutUserAgentFirst({"Archivon/1.10"}, "Mozilla/5.0");
    EXPECT_TRUE(u.store);
    EXPECT_EQ(u.count, 1);
    EXPECT_EQ(u.agents, "Mozilla/5.0|||");
    // The second of three moves to the top.
    u = net::PutUserAgentFirst({"A", "B", "C"}, "B");
    EXPECT_EQ(u.agents, "B|||A|||C|||");
    EXPECT_EQ(u.count, 3);
    // A new text pushes the last one out.
    u = net::PutUserAgentFirst({"A", "B", "C"}, "N");
    EXPECT_EQ(u.entries, (std::vector<std::string>{"N", "A", "B"}));
    // Of two equal entries the last one moves; the comparison is exact.
    u = net::PutUserAgentFirst({"A", "X", "B", "X"}, "X");
    EXPECT_EQ(u.agents, "X|||A|||X|||B|||");
    u = net::PutUserAgentFirst({"a"}, "A");
    EXPECT_EQ(u.agents, "A|||");
    // Nothing listed: nothing to store.
    u = net::PutUserAgentFirst({}, "A");
    EXPECT_FALSE(u.store);
    EXPECT_TRUE(u.agents.empty());
}

TEST(ProxySettingsRules, StoredValuesOutOfRangeReadAsDefaults) {
    ProxySnapshot p;
    p.Type = 5;
    p.Port = 65535;
    p.UsingLogon = 1;
    net::SettleStoredProxy(p);
    EXPECT_EQ(p.Type, 5) << "the hidden sixth type is kept";
    EXPECT_EQ(p.Port, 65535);
    p.Type = 6;
    p.Port = 70000;
    p.UsingLogon = 7;
    net::SettleStoredProxy(p);
    EXPECT_EQ(p.Type, 0);
    EXPECT_EQ(p.Port, 80);
    EXPECT_EQ(p.UsingLogon, 1);
    p.Type = -1;
    p.Port = -1;
    net::SettleStoredProxy(p);
    EXPECT_EQ(p.Type, 0);
    EXPECT_EQ(p.Port, 80);
    EXPECT_FALSE(net::ProxyAddressComplete(3));
    EXPECT_TRUE(net::ProxyAddressComplete(4));
}
