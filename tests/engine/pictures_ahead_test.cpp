// The disc's pictures read ahead on a thread of their own give start-up the same pictures and
// layout as reading them in place, and a fault met reading them comes out of start-up with the
// same message, in the same place among its checks: every disc the front end refuses is refused
// alike either way.

#include "engine/pictures_ahead.h"

#include "base/error.h"
#include "engine/main_state.h"
#include "engine/startup.h"
#include "support/fixture_variants.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrova {
namespace {

using testing::FixtureVariant;
using testing::FixtureVariants;

// Start-up on a disc, the pictures read ahead or not; the message it fails with, if it does.
std::optional<std::string> StartUp(MainState& state, const std::string& root, bool ahead) {
    NullWebPane web;
    Ports ports;
    ports.web = &web;
    try {
        if (ahead) {
            PicturesAhead pictures;
            DxDrawInitialize(state, ports, root, &pictures);
        } else {
            DxDrawInitialize(state, ports, root);
        }
    } catch (const Error& e) {
        return std::string(e.what()) + " | " + e.Detail();
    }
    return std::nullopt;
}

class PicturesAheadOnEveryVariant : public ::testing::TestWithParam<FixtureVariant> {};

TEST_P(PicturesAheadOnEveryVariant, StartUpEndsAsItDoesReadingInPlace) {
    FixtureDiscFolder disc(GetParam().name);
    MainState inPlace;
    MainState readAhead;
    const std::optional<std::string> failedInPlace = StartUp(inPlace, disc.Root(), false);
    const std::optional<std::string> failedAhead = StartUp(readAhead, disc.Root(), true);
    EXPECT_EQ(failedAhead, failedInPlace);
    EXPECT_EQ(!failedAhead.has_value(), GetParam().starts);
    if (failedAhead) {
        return;
    }
    EXPECT_EQ(readAhead.sliderlistA.Count(), inPlace.sliderlistA.Count());
    EXPECT_EQ(readAhead.SubSliderA.Count(), inPlace.SubSliderA.Count());
    EXPECT_EQ(readAhead.panels.Count(), inPlace.panels.Count());
    EXPECT_EQ(readAhead.backgroundSurface.Surface(), inPlace.backgroundSurface.Surface());
    EXPECT_EQ(readAhead.sliderlistA.Items(0).Surface(), inPlace.sliderlistA.Items(0).Surface());
    EXPECT_EQ(readAhead.startPanelKey, inPlace.startPanelKey);
    EXPECT_EQ(readAhead.frameColour, inPlace.frameColour);
    EXPECT_EQ(readAhead.infoRestY, inPlace.infoRestY);
    EXPECT_EQ(readAhead.thumbHomeX, inPlace.thumbHomeX);
    EXPECT_EQ(readAhead.slideSprites[0].image,
              &readAhead.sliderlistA.Items(readAhead.sliderlistA.Count() - 1))
        << "the sprites point into the state's own collections";
}

INSTANTIATE_TEST_SUITE_P(Variants, PicturesAheadOnEveryVariant,
                         ::testing::ValuesIn(FixtureVariants()),
                         [](const ::testing::TestParamInfo<FixtureVariant>& param) {
                             return testing::TestNameOf(param.param);
                         });

TEST(PicturesAhead, NeverTakenTheReadingIsWaitedFor) {
    FixtureDiscFolder disc("ok");
    { PicturesAhead pictures; } // the thread must not outlive the disc it reads
    PicturesAhead pictures;
    const DiscPictures read = pictures.Take();
    EXPECT_GT(read.lists[1].Count(), 0);
    EXPECT_TRUE(read.background.HasPicture());
}

} // namespace
} // namespace kestrova
