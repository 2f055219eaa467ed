// The one description of the handlers' variables: start values, and setting them from text as
// the replay harness does, never past the sprite arrays.

#include "engine/handler_variables.h"
#include "engine/main_state.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrova {
namespace {

TEST(HandlerVariables, FormCreateRestoresItsStartValuesAndKeepsWhatTheDiscGave) {
    MainState s;
    s.spriteCount = 7;
    s.discTwo = true;
    s.sysReqLabel = "Needs:";
    s.targetPanel = 3;
    s.spreading = false;
    s.menuKey = "demos";
    s.prevHoverThumb = 4;
    s.bannerNumber = 6;
    s.menusource = {"a", "b"};
    ApplyStartValues(s);
    EXPECT_EQ(s.spriteCount, 7);
    EXPECT_TRUE(s.discTwo);
    EXPECT_EQ(s.sysReqLabel, "Needs:");
    EXPECT_EQ(s.targetPanel, 0);
    EXPECT_TRUE(s.spreading);
    EXPECT_EQ(s.menuKey, "none");
    EXPECT_EQ(s.prevHoverThumb, -1);
    EXPECT_EQ(s.bannerNumber, 1);
    EXPECT_TRUE(s.menusource.empty());
}

TEST(HandlerVariables, NamesAreUniqueAndFindable) {
    std::set<std::string> names;
    for (const auto& v : HandlerVariableTable()) {
        EXPECT_TRUE(names.insert(v.name).second) << v.name;
        EXPECT_EQ(FindHandlerVariable(v.name), &v);
    }
    EXPECT_EQ(FindHandlerVariable("noSuchThing"), nullptr);
}

TEST(HandlerVariables, SetFromTextByType) {
    MainState s;
    EXPECT_FALSE(SetHandlerVariable(s, "slideState", "-1"));
    EXPECT_EQ(s.slideState, -1);
    EXPECT_FALSE(SetHandlerVariable(s, "navigatePending", "true"));
    EXPECT_TRUE(s.navigatePending);
    EXPECT_FALSE(SetHandlerVariable(s, "hoverKey", "*installnow"));
    EXPECT_EQ(s.hoverKey, "*installnow");
    EXPECT_FALSE(SetHandlerVariable(s, "menusource", "Glider|Comet||Marsh"));
    EXPECT_EQ(s.menusource, (Lines{"Glider", "Comet", "", "Marsh"}));
}

TEST(HandlerVariables, SetRefusesWhatWouldBreakTheState) {
    MainState s;
    const std::pair<const char*, const char*> bad[] = {
        {"targetPanel", "26"},         {"targetPanel", "-1"}, {"shownPanel", "99"},
        {"hoverThumb", "-2"},          {"slideState", "1x"},  {"slideState", ""},
        {"slideState", "99999999999"}, {"spreading", "yes"},  {"spriteCount", "3"},
        {"curtainUp", "false"},        {"noSuchThing", "1"},
    };
    for (const auto& [name, value] : bad) {
        const auto error = SetHandlerVariable(s, name, value);
        ASSERT_TRUE(error) << name << " " << value;
        EXPECT_NE(error->find(name), std::string::npos) << *error;
    }
    EXPECT_EQ(s.targetPanel, 0);
    EXPECT_EQ(s.spriteCount, 0);
    EXPECT_TRUE(s.curtainUp);
}

} // namespace
} // namespace kestrova
