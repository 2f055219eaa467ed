// The editor's boxes edit the record lines they are labelled with, each looked up afresh.

#include "editor/editor_state.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(EditorRecords, EachBoxEditsItsRecordLine) {
    EditorState e;
    e.source.LoadFromBytes("*Spritecount\r\n2\r\n*BEGIN1\r\nGlider\r\na\r\nb\r\nc\r\n"
                           "Demos/Glider/setup.exe\r\nx\r\ny\r\nglider.rtf\r\nhelp@example.com\r\n"
                           "CPU\r\nRAM\r\nDisk\r\n*END1\r\n");
    const int begin = e.source.IndexOf("*BEGIN1");
    ASSERT_EQ(begin, 2);
    EXPECT_EQ(e.source.Get(RecordLineIndex(e.source, 1, RecordBoxes()[0].offset)), "Glider");
    EXPECT_EQ(e.source.Get(RecordLineIndex(e.source, 1, RecordBoxes()[4].offset)),
              "Demos/Glider/setup.exe");
    EXPECT_EQ(e.source.Get(RecordLineIndex(e.source, 1, RecordBoxes()[5].offset)), "glider.rtf");
    EXPECT_EQ(e.source.Get(RecordLineIndex(e.source, 1, RecordBoxes()[9].offset)), "Disk");
    EXPECT_EQ(RecordLineIndex(e.source, 7, 1), 0) << "a missing entry reads from line 0 onwards";
}

} // namespace
} // namespace kestrova
