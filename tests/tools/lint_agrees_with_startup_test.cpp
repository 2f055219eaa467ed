// The linter and start-up judge a disc by the same requirements: on every test disc, start-up
// refuses exactly when the linter reports an error. A disc the linter passes must start, and a
// disc that cannot start must never lint clean.

#include "common/lint.h"

#include "base/error.h"
#include "engine/main_state.h"
#include "engine/ports.h"
#include "engine/startup.h"
#include "support/fixture_disc.h"
#include "support/fixture_variants.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Start-up reads the disc from the current directory, as the front end runs it.
class InFolder {
  public:
    explicit InFolder(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~InFolder() {
        std::error_code ec;
        fs::current_path(old_, ec);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    fs::path old_;
};

// Why start-up refuses the disc, or nullopt when it starts.
std::optional<std::string> StartUpRefusal(const fs::path& disc) {
    const InFolder in(disc);
    try {
        auto state = std::make_unique<kestrova::MainState>();
        kestrova::Ports ports;
        kestrova::DxDrawInitialize(*state, ports, disc.string() + "/");
    } catch (const kestrova::Error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

// The linter's errors, warnings left out; a disc it cannot read at all is one error.
std::vector<std::string> LintErrors(const fs::path& disc) {
    std::vector<std::string> errors;
    try {
        for (const kestrova::LintFinding& f : kestrova::LintDisc(disc.string())) {
            if (f.message.rfind("warning: ", 0) != 0) {
                errors.push_back(kestrova::FormatFinding(f));
            }
        }
    } catch (const kestrova::Error& e) {
        errors.emplace_back(e.what());
    }
    return errors;
}

std::string Verdicts(const std::optional<std::string>& refusal,
                     const std::vector<std::string>& errors) {
    std::string text = "start-up: " + refusal.value_or("starts") + "\nlint errors:";
    for (const std::string& e : errors) {
        text += "\n  " + e;
    }
    return text;
}

using kestrova::testing::FixtureVariant;

class LintAgreesWithStartUp : public kestrova::testing::FixtureDiscTest {};

} // namespace

TEST_P(LintAgreesWithStartUp, OnFixtureDisc) {
    const std::optional<std::string> refusal = StartUpRefusal(disc_);
    const std::vector<std::string> errors = LintErrors(disc_);
    EXPECT_EQ(!refusal.has_value(), GetParam().starts) << Verdicts(refusal, errors);
    EXPECT_EQ(refusal.has_value(), !errors.empty()) << Verdicts(refusal, errors);
}

// Discs that start with faults lint finds elsewhere (menus, pages, banners) are the menu test's.
static std::vector<FixtureVariant> StartUpVariants() {
    std::vector<FixtureVariant> variants;
    for (const FixtureVariant& variant : kestrova::testing::FixtureVariants()) {
        if (!variant.starts || variant.lintClean) {
            variants.push_back(variant);
        }
    }
    return variants;
}

INSTANTIATE_TEST_SUITE_P(Variants, LintAgreesWithStartUp, ::testing::ValuesIn(StartUpVariants()),
                         [](const ::testing::TestParamInfo<FixtureVariant>& param) {
                             return kestrova::testing::TestNameOf(param.param);
                         });

TEST(LintAgreesWithStartUpOnSampleDisc, StartsAndLintsWithoutErrors) {
    const fs::path disc = fs::path(KESTROVA_SOURCE_DIR) / "sample-disc";
    const std::optional<std::string> refusal = StartUpRefusal(disc);
    const std::vector<std::string> errors = LintErrors(disc);
    EXPECT_FALSE(refusal.has_value()) << Verdicts(refusal, errors);
    EXPECT_TRUE(errors.empty()) << Verdicts(refusal, errors);
}
