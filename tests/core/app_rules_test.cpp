#include "app/app_rules.h"

#include <gtest/gtest.h>

TEST(AppRules, AutomationFlagOnlyAsAWholeFlag) {
    EXPECT_TRUE(app::HasAutomationFlag("/Embedding"));
    EXPECT_TRUE(app::HasAutomationFlag("-Automation"));
    EXPECT_TRUE(app::HasAutomationFlag("C:\\a.txt| /Embedding"));
    EXPECT_TRUE(app::HasAutomationFlag("\"-Automation"));
    EXPECT_FALSE(app::HasAutomationFlag("Embedding"));
    EXPECT_FALSE(app::HasAutomationFlag("/Embeddings"));
    EXPECT_FALSE(app::HasAutomationFlag("C:\\x/Embedding"));
    EXPECT_FALSE(app::HasAutomationFlag("C:\\In\\Automation.txt|"));
    EXPECT_FALSE(app::HasAutomationFlag(""));
}
