// Loading an entry's thumbnail or panel picture: the front end's item changes and the whole list
// is written, or, when anything fails, nothing changes at all.

#include "editor_fixture.h"

#include "pictures/image_list_file.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing_editor::EditorBench;
using testing_editor::Plain;

constexpr const char* kThumbList = "/disc/engine/images/slider2.dxg";
constexpr const char* kPanelList = "/disc/engine/images/slider.dxg";

std::vector<uint32_t> ItemPixelsInFile(const std::vector<uint8_t>& file, int index) {
    const auto items = ReadImageList(file);
    return items.at(static_cast<std::size_t>(index))->GetPicture().pixels;
}

TEST(EditorPictures, NothingHappensForTheFeatureDemo) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(0);
    b.editor.Button5Click();
    b.editor.Button6Click();
    EXPECT_EQ(b.dialog.openings, 0);
    EXPECT_TRUE(b.writer.written.empty());
}

TEST(EditorPictures, ACancelledDialogStillWritesTheItemUnchanged) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(2));
    const std::vector<uint32_t> before = b.thumbs.Items(1).GetPicture().pixels;
    b.editor.Button5Click();
    EXPECT_EQ(b.dialog.openings, 1);
    ASSERT_EQ(b.writer.written.count(kThumbList), 1u);
    EXPECT_EQ(ItemPixelsInFile(b.writer.written[kThumbList], 1), before);
    EXPECT_EQ(ReadImageList(b.writer.written[kThumbList]).size(), 10u);
    EXPECT_EQ(b.thumbs.Items(1).GetPicture().pixels, before);
    EXPECT_TRUE(b.S().messages.empty());
}

TEST(EditorPictures, AChosenPictureReplacesTheEntrysItemAndItsFile) {
    EditorBench b;
    b.pictures.files["/pics/new.png"] = Plain(6, 5, 0x00FF00);
    b.Open();
    b.editor.featuresClick(b.LineOf(3));
    b.dialog.answers = {"/pics/new.png"};
    b.editor.Button6Click();
    EXPECT_EQ(b.panels.Items(2).GetPicture().width, 6);
    EXPECT_TRUE(b.panels.Items(2).IsBuilt());
    EXPECT_EQ(b.S().imagez.width, 6);
    ASSERT_EQ(b.writer.written.count(kPanelList), 1u);
    EXPECT_EQ(ItemPixelsInFile(b.writer.written[kPanelList], 2), Plain(6, 5, 0x00FF00).pixels);
    EXPECT_EQ(b.writer.written.count(kThumbList), 0u);
}

TEST(EditorPictures, AFailedWriteLeavesEverythingAsItWas) {
    EditorBench b;
    b.pictures.files["/pics/new.png"] = Plain(6, 5, 0x00FF00);
    b.Open();
    b.editor.featuresClick(b.LineOf(2));
    const Picture before = b.thumbs.Items(1).GetPicture();
    b.writer.fail = true;
    b.dialog.answers = {"/pics/new.png"};
    b.editor.Button5Click();
    ASSERT_EQ(b.S().messages.size(), 1u);
    EXPECT_EQ(b.S().messages[0],
              "Cannot create file /disc/engine/images/slider2.dxg: No space left on device");
    EXPECT_EQ(b.thumbs.Items(1).GetPicture().pixels, before.pixels);
    EXPECT_EQ(b.S().subz.pixels, before.pixels);
}

TEST(EditorPictures, AnUnreadablePictureChangesNothing) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(2));
    b.dialog.answers = {"/pics/drawing.emf"};
    b.editor.Button5Click();
    ASSERT_EQ(b.S().messages.size(), 1u);
    EXPECT_EQ(b.S().messages[0], "Unknown picture file extension (.emf)");
    EXPECT_TRUE(b.writer.written.empty());
}

TEST(EditorPictures, ThePreviewsLeaveOutWhatTheMenuLeavesOut) {
    EditorBench b;
    // Panels are keyed by a colour of their own, thumbnails drawn whole, as at start-up.
    b.panels.Items(2).Transparent = true;
    b.panels.Items(2).SetTransparentColor(RgbToColour(0xFF00FF));
    b.thumbs.Items(2).Transparent = false;
    b.Open();
    b.editor.featuresClick(b.LineOf(3));
    ASSERT_TRUE(b.S().imagezKey.has_value());
    EXPECT_EQ(*b.S().imagezKey, 0xFF00FFu);
    EXPECT_FALSE(b.S().subzKey.has_value());

    b.panels.Items(3).Transparent = false;
    b.editor.featuresClick(b.LineOf(4));
    EXPECT_FALSE(b.S().imagezKey.has_value()) << "the key follows the entry shown";
}

TEST(EditorPictures, AnEntryWithoutItemsReportsTheListIndex) {
    EditorBench b(testing_editor::DiscText(8) + testing_editor::RecordText(12));
    b.Open();
    b.editor.featuresClick(b.LineOf(12));
    EXPECT_TRUE(b.S().subz.IsEmpty());
    b.editor.Button5Click();
    ASSERT_EQ(b.S().messages.size(), 1u);
    EXPECT_EQ(b.S().messages[0], "List index out of bounds (11)");
    EXPECT_TRUE(b.writer.written.empty());
}

TEST(EditorPictures, OpeningPreparesTheSlotAfterTheLastDemo) {
    EditorBench b;
    b.thumbs.Items(8).SetPicture(Plain(3, 3, 0x123456));
    b.panels.Items(8).TransparentColor = 0x00FF00FF;
    b.Open();
    EXPECT_EQ(b.thumbs.Items(9).GetPicture().pixels, Plain(3, 3, 0x123456).pixels);
    EXPECT_FALSE(b.thumbs.Items(9).Transparent);
    EXPECT_TRUE(b.thumbs.Items(9).SystemMemory);
    EXPECT_EQ(b.panels.Items(9).TransparentColor, 0x00FF00FFu);
    EXPECT_TRUE(b.panels.Items(9).Transparent);
}

TEST(EditorPictures, OnACdImageTheButtonsSayAtOnceThatTheDiscIsReadOnly) {
    EditorBench b;
    // A CD image has no files on this machine.
    b.Open("/discs/issue.iso/", [](const std::string&) { return std::optional<std::string>(); });
    b.editor.featuresClick(b.LineOf(2));
    b.editor.Button5Click();
    b.editor.Button6Click();
    EXPECT_EQ(b.dialog.openings, 0) << "no dialog for a picture that could not be kept";
    EXPECT_TRUE(b.writer.written.empty());
    ASSERT_EQ(b.S().messages.size(), 2u);
    EXPECT_EQ(b.S().messages[0], "Cannot change /discs/issue.iso/engine/images/slider2.dxg: the "
                                 "disc is a CD image, which is read-only");
    EXPECT_EQ(b.S().messages[1], "Cannot change /discs/issue.iso/engine/images/slider.dxg: the "
                                 "disc is a CD image, which is read-only");
    EXPECT_FALSE(b.editor.WriteDataFile());
    EXPECT_EQ(b.S().messages[2], "Cannot write the disc data file "
                                 "/discs/issue.iso/engine/data/discdata.kvx: the disc is a CD "
                                 "image, which is read-only");
}

} // namespace
} // namespace kestrova
