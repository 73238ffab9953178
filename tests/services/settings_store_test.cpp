#include "common/settings_store.h"

#include <gtest/gtest.h>

TEST(SettingsStore, TypedReadsTakeTheirDefault) {
    SettingsStore s("TallowindTest", "Store");
    EXPECT_EQ(s.GetInt("Config", "Missing", 7), 7);
    EXPECT_EQ(s.GetText("Config", "Missing", "dflt"), "dflt");
    ASSERT_TRUE(s.SetInt("Config", "Number", 42));
    ASSERT_TRUE(s.SetText("Config", "Name", "C:\\Vault"));
    EXPECT_EQ(s.GetInt("Config", "Number", 0), 42);
    EXPECT_EQ(s.GetText("Config", "Name", ""), "C:\\Vault");
    // A value of the wrong type reads as the default.
    EXPECT_EQ(s.GetInt("Config", "Name", 5), 5);
    EXPECT_EQ(s.GetText("Config", "Number", "x"), "x");
    ASSERT_TRUE(s.SetText("Config", "Empty", ""));
    EXPECT_EQ(s.GetText("Config", "Empty", "x"), "");
    s.DeleteValue("Config", "Number");
    s.DeleteValue("Config", "Name");
    s.DeleteValue("Config", "Empty");
    EXPECT_EQ(s.GetInt("Config", "Number", -1), -1);
}
