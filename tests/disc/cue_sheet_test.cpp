#include "disc/cue_sheet.h"

#include "base/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova {
namespace {

using ::testing::HasSubstr;

std::string FaultOf(std::string_view text) {
    try {
        FirstCueDataTrack(ParseCueSheet(text));
    } catch (const Error& e) {
        return e.what();
    }
    return "(no fault)";
}

TEST(CueSheet, NamesQuotedOrNotKeywordsInAnyCaseAndEveryLineEnd) {
    const CueSheet sheet = ParseCueSheet("\xEF\xBB\xBFREM made by hand\r\n"
                                         "file \"My Disc (1).bin\" binary\r\n"
                                         "  track 1 mode1/2352\r"
                                         "    TITLE \"FILE x.bin\"\n"
                                         "    index 01 00:02:03\n"
                                         "FILE other disc.bin  MOTOROLA  \n"
                                         "\tTRACK 02 AUDIO\n"
                                         "FILE plain.bin\n"
                                         "FILE \"x.wav\"\n");
    ASSERT_EQ(sheet.files.size(), 4u);
    EXPECT_EQ(sheet.files[0].name, "My Disc (1).bin");
    EXPECT_EQ(sheet.files[0].type, "BINARY");
    EXPECT_EQ(sheet.files[1].name, "other disc.bin");
    EXPECT_EQ(sheet.files[1].type, "MOTOROLA");
    EXPECT_EQ(sheet.files[2].name, "plain.bin");
    EXPECT_EQ(sheet.files[2].type, "");
    EXPECT_EQ(sheet.files[3].name, "x.wav");
    ASSERT_EQ(sheet.tracks.size(), 2u);
    EXPECT_EQ(sheet.tracks[0].number, 1);
    EXPECT_EQ(sheet.tracks[0].mode, "MODE1/2352");
    EXPECT_EQ(sheet.tracks[0].file, 0u);
    ASSERT_EQ(sheet.tracks[0].indexes.size(), 1u);
    EXPECT_EQ(sheet.tracks[0].indexes[0].number, 1);
    EXPECT_EQ(sheet.tracks[0].indexes[0].frame, 2u * 75 + 3);
    EXPECT_EQ(sheet.tracks[1].file, 1u);
}

TEST(CueSheet, EachDataModeHasItsLayoutAndSoundHasNone) {
    EXPECT_EQ(CueDataLayout("MODE1/2048")->frameBytes, 2048u);
    EXPECT_EQ(CueDataLayout("MODE1/2048")->dataAt, 0u);
    EXPECT_EQ(CueDataLayout("mode1/2352")->dataAt, 16u);
    EXPECT_EQ(CueDataLayout("MODE2/2336")->frameBytes, 2336u);
    EXPECT_EQ(CueDataLayout("MODE2/2336")->dataAt, 8u);
    EXPECT_EQ(CueDataLayout("MODE2/2352")->dataAt, 24u);
    EXPECT_EQ(CueDataLayout("MODE2/2048")->dataAt, 0u);
    for (const char* other : {"AUDIO", "CDG", "MODE2/2324", "CDI/2352", "MODE1", ""}) {
        EXPECT_FALSE(CueDataLayout(other).has_value()) << other;
    }
}

// The first data track starts where its INDEX 01 lies in its own file: the points before it there
// each span frames of their own track's size; it ends where the next track of its file begins.
TEST(CueSheet, TheFirstDataTrackLiesWhereTheTracksBeforeItInItsFileEnd) {
    const std::optional<CueDataTrack> alone = FirstCueDataTrack(
        ParseCueSheet("FILE \"a.bin\" BINARY\nTRACK 01 MODE2/2352\nINDEX 01 00:00:00\n"));
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->number, 1);
    EXPECT_EQ(alone->startByte, 0u);
    EXPECT_EQ(alone->layout.dataAt, 24u);
    EXPECT_FALSE(alone->frames.has_value());

    // Sound, then a pregap and the data in 2048-byte frames, then sound again.
    const std::optional<CueDataTrack> mixed =
        FirstCueDataTrack(ParseCueSheet("FILE \"a.bin\" BINARY\n"
                                        " TRACK 01 AUDIO\n  INDEX 00 00:00:00\n"
                                        "  INDEX 01 00:00:02\n"
                                        " TRACK 02 MODE1/2048\n  INDEX 00 00:01:00\n"
                                        "  INDEX 01 00:01:10\n"
                                        " TRACK 03 AUDIO\n  INDEX 01 00:02:00\n"));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->number, 2);
    EXPECT_EQ(mixed->file, 0u);
    EXPECT_EQ(mixed->startByte, 75u * 2352 + 10u * 2048);
    EXPECT_EQ(mixed->frames, 150u - 85u);
    // The file holds the whole track, or only the frames it has.
    EXPECT_EQ(CueTrackSectors(*mixed, uint64_t{1} << 40), 65u);
    EXPECT_EQ(CueTrackSectors(*mixed, mixed->startByte + 10 * 2048 + 2047), 10u);
    EXPECT_EQ(CueTrackSectors(*mixed, mixed->startByte), 0u);
    EXPECT_EQ(CueTrackSectors(*mixed, 100), 0u);
    EXPECT_EQ(CueTrackSectors(*alone, 7 * 2352 + 5), 7u);

    // Tracks in other files take no room in the data track's file.
    const std::optional<CueDataTrack> apart =
        FirstCueDataTrack(ParseCueSheet("FILE \"s.bin\" BINARY\n TRACK 01 AUDIO\n"
                                        "  INDEX 01 00:00:00\n"
                                        "FILE \"d.bin\" BINARY\n TRACK 02 MODE1/2352\n"
                                        "  INDEX 01 00:00:05\n"
                                        "FILE \"t.bin\" BINARY\n TRACK 03 AUDIO\n"
                                        "  INDEX 01 00:00:00\n"));
    ASSERT_TRUE(apart);
    EXPECT_EQ(apart->file, 1u);
    EXPECT_EQ(apart->startByte, 5u * 2352);
    EXPECT_FALSE(apart->frames.has_value());

    EXPECT_FALSE(FirstCueDataTrack(ParseCueSheet("FILE a.wav WAVE\nTRACK 01 AUDIO\n")));
    EXPECT_FALSE(FirstCueDataTrack(ParseCueSheet("")));
}

TEST(CueSheet, LinesThatCannotMeanWhatTheySayAreRefusedWithTheirNumber) {
    EXPECT_EQ(FaultOf("REM\nFILE \"a.bin BINARY\n"), "line 2: the FILE name's quote is not closed");
    EXPECT_EQ(FaultOf("FILE \"\" BINARY\n"), "line 1: the FILE line names no file");
    EXPECT_EQ(FaultOf("FILE\n"), "line 1: the FILE line names no file");
    EXPECT_EQ(FaultOf("FILE \"a\x1B[2J.bin\" BINARY\n"),
              "line 1: the FILE name holds a control character");
    EXPECT_EQ(FaultOf(std::string("FILE \"a\0b\" BINARY\n", 18)),
              "line 1: the FILE name holds a control character");
    EXPECT_EQ(FaultOf("TRACK 01 MODE1/2352\n"), "line 1: TRACK before any FILE");
    EXPECT_EQ(FaultOf("FILE a.bin BINARY\nTRACK 00 MODE1/2352\n"),
              "line 2: the TRACK number is not 1 to 99");
    EXPECT_EQ(FaultOf("FILE a.bin BINARY\nTRACK 100 MODE1/2352\n"),
              "line 2: the TRACK number is not 1 to 99");
    EXPECT_EQ(FaultOf("FILE a.bin BINARY\nTRACK 01\n"), "line 2: the TRACK has no mode");
    EXPECT_EQ(FaultOf("FILE a.bin BINARY\nINDEX 01 00:00:00\n"), "line 2: INDEX before any TRACK");
    for (const char* time : {"00:60:00", "00:00:75", "0:0", "00:00:00:00", "-1:00:00",
                             "12345:00:00", "aa:bb:cc", ""}) {
        EXPECT_EQ(FaultOf(std::string("FILE a.bin\nTRACK 01 MODE1/2352\nINDEX 01 ") + time),
                  "line 3: the INDEX time is not minutes:seconds:frames")
            << time;
    }
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 MODE1/2352\nINDEX 1x 00:00:00\n"),
              "line 3: the INDEX number is not 0 to 99");

    std::string files;
    for (int i = 0; i < 100; ++i) {
        files += "FILE f" + std::to_string(i) + ".bin BINARY\n";
    }
    EXPECT_EQ(FaultOf(files), "line 100: more than 99 files");
    std::string tracks = "FILE a.bin BINARY\n";
    for (int i = 1; i <= 100; ++i) {
        tracks += "TRACK " + std::to_string(i % 99 + 1) + " AUDIO\n";
    }
    EXPECT_EQ(FaultOf(tracks), "line 101: more than 99 tracks");
}

TEST(CueSheet, ADataTrackThatCannotBePlacedIsRefused) {
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 MODE1/2352\nINDEX 00 00:00:00\n"),
              "track 1 has no INDEX 01");
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 AUDIO\nINDEX 01 00:10:00\n"
                      "TRACK 02 MODE1/2352\nINDEX 01 00:05:00\n"),
              "the INDEX points of \"a.bin\" go backwards at track 2");
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 MODE1/2352\nINDEX 01 00:10:00\n"
                      "TRACK 02 AUDIO\nINDEX 01 00:05:00\n"),
              "the INDEX points of \"a.bin\" go backwards at track 2");
    EXPECT_THAT(FaultOf("FILE a.bin\nTRACK 01 KARAOKE/9999\nINDEX 01 00:00:00\n"
                        "TRACK 02 MODE1/2352\nINDEX 01 00:05:00\n"),
                HasSubstr("track 1 before the data track is of mode KARAOKE/9999, whose frame "
                          "size is unknown"));
    // A track of unknown size in another file, or one that spans nothing, is no matter.
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 KARAOKE/9999\nINDEX 01 00:00:00\n"
                      "FILE b.bin\nTRACK 02 MODE1/2352\nINDEX 01 00:05:00\n"),
              "(no fault)");
    EXPECT_EQ(FaultOf("FILE a.bin\nTRACK 01 KARAOKE/9999\nINDEX 01 00:00:00\n"
                      "TRACK 02 MODE1/2352\nINDEX 01 00:00:00\n"),
              "(no fault)");
}

} // namespace
} // namespace kestrova
