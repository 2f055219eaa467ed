#pragma once
// Every variant the fixture disc writer knows, and how the front end meets it. The tests that
// hold lint against the front end walk this one list, so a new variant reaches all of them; a
// misspelt name would silently write the good disc.

#include "support/fixture_disc.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace kestrova::testing {

struct FixtureVariant {
    const char* name;
    bool starts;    // the front end starts on it
    bool lintClean; // lint finds no error in it (a disc that starts may still have faults)
};

inline void PrintTo(const FixtureVariant& variant, std::ostream* out) {
    *out << variant.name;
}

inline const std::vector<FixtureVariant>& FixtureVariants() {
    static const std::vector<FixtureVariant> variants = {
        {"ok", true, true},
        {"one-demo", true, true},
        {"disc-two", true, true},
        {"long-text", true, true},
        {"windows-programs", true, true},
        {"cp1251-titles", true, true},
        {"cp1250-titles", true, true},
        {"cp1253-titles", true, true},
        // Discs that start, with faults of their menus, pages or banners.
        {"page-commands", true, false},
        {"menu-targets", true, false},
        {"gif-bomb", true, false},
        // Discs start-up refuses.
        {"no-background", false, false},
        {"bad-background", false, false},
        {"no-panels", false, false},
        {"no-slider", false, false},
        {"no-discdata", false, false},
        {"bad-spritecount", false, false},
        {"missing-spritecount", false, false},
        {"spritecount-too-big", false, false},
        {"spritecount-zero", false, false},
        {"missing-panel-name", false, false},
        {"missing-top-panel", false, false},
        {"short-slider", false, false},
        {"corrupt-dxg", false, false},
        {"truncated-dxg", false, false},
        // Hostile discs: files that are not regular, past their size limits, or past the pixel
        // budgets once decoded.
        {"fifo-background", false, false},
        {"fifo-discdata", false, false},
        {"device-list", false, false},
        {"png-background", false, false},
        {"empty-background", false, false},
        {"huge-background", false, false},
        {"huge-discdata", false, false},
        {"rle-bomb", false, false},
    };
    return variants;
}

// A variant's name as a test's name, which takes no "-".
inline std::string TestNameOf(const FixtureVariant& variant) {
    std::string name = variant.name;
    for (char& c : name) {
        c = c == '-' ? '_' : c;
    }
    return name;
}

// A test on each variant's disc, written afresh in a folder of this process's own.
class FixtureDiscTest : public ::testing::TestWithParam<FixtureVariant> {
  protected:
    void SetUp() override {
        // A parameterised suite's name holds a "/", which must not make a folder of its own.
        std::string suite = ::testing::UnitTest::GetInstance()->current_test_suite()->name();
        std::replace(suite.begin(), suite.end(), '/', '-');
        disc_ = std::filesystem::temp_directory_path() /
                ("kestrova-fixture-" + std::to_string(::getpid()) + "-" + suite + "-" +
                 TestNameOf(GetParam()));
        WriteFixtureDisc(disc_.string(), GetParam().name);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(disc_, ec);
    }

    std::filesystem::path disc_;
};

} // namespace kestrova::testing
