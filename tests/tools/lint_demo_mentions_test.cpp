// The check of what texts and banners say about the disc's demos stays quiet on the discs that
// say only what is so: the sample disc and every fixture disc that starts.

#include "common/lint.h"

#include "support/fixture_variants.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> DemoMentions(const fs::path& disc) {
    std::vector<std::string> found;
    for (const kestrova::LintFinding& f : kestrova::LintDisc(disc.string())) {
        for (const char* part : {"the text says", "does not show", "demos' folder"}) {
            if (f.message.find(part) != std::string::npos) {
                found.push_back(kestrova::FormatFinding(f));
            }
        }
    }
    return found;
}

class LintDemoMentions : public kestrova::testing::FixtureDiscTest {};

// The variants the front end starts on: the others have no texts a reader sees.
std::vector<kestrova::testing::FixtureVariant> StartingVariants() {
    std::vector<kestrova::testing::FixtureVariant> starting;
    for (const auto& variant : kestrova::testing::FixtureVariants()) {
        if (variant.starts) {
            starting.push_back(variant);
        }
    }
    return starting;
}

TEST_P(LintDemoMentions, QuietOnTheFixtureDisc) {
    EXPECT_EQ(DemoMentions(disc_), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Variants, LintDemoMentions, ::testing::ValuesIn(StartingVariants()),
                         [](const ::testing::TestParamInfo<kestrova::testing::FixtureVariant>& p) {
                             return kestrova::testing::TestNameOf(p.param);
                         });

TEST(LintDemoMentionsOnSampleDisc, Quiet) {
    EXPECT_EQ(DemoMentions(fs::path(KESTROVA_SOURCE_DIR) / "sample-disc"),
              std::vector<std::string>{});
}

} // namespace
