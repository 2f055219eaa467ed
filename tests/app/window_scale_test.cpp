// The window's scale: the option over the setting, and what the toolkit is told for each.

#include "app/window_scale.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrova {
namespace {

TEST(WindowScale, TheOptionWinsOverTheSetting) {
    EXPECT_EQ(ChosenWindowScale(3, 2), 3);
    EXPECT_EQ(ChosenWindowScale(0, 2), 2);
    EXPECT_EQ(ChosenWindowScale(0, 0), 0);
    EXPECT_EQ(ChosenWindowScale(1, 4), 1) << "one is a choice too, not the default";
}

TEST(WindowScale, AGivenScaleIsExactAndLeavesTheScreensDensityOut) {
    const ToolkitScale two = ToolkitScaleFor(2);
    const std::map<std::string, std::string> env(two.environment.begin(), two.environment.end());
    EXPECT_EQ(env.at("QT_SCALE_FACTOR"), "2");
    EXPECT_EQ(env.at("QT_ENABLE_HIGHDPI_SCALING"), "0");
    EXPECT_EQ(env.at("QT_SCREEN_SCALE_FACTORS"), "") << "removed";
    EXPECT_FALSE(two.roundScreenFactor);
}

TEST(WindowScale, WithoutOneTheScreensFactorIsRoundedToAWholeNumber) {
    const ToolkitScale none = ToolkitScaleFor(0);
    EXPECT_TRUE(none.environment.empty()) << "a user's own toolkit variables stay";
    EXPECT_TRUE(none.roundScreenFactor);
}

} // namespace
} // namespace kestrova
