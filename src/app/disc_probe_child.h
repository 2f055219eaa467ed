#pragma once
// The shelf's child: `kestrova --probe-disc PATH --probe-out FOLDER` starts the disc as the front
// end does, offscreen and with nothing launched, draws its first frame, and writes into FOLDER
// what the shelf shows of it (platform/disc_report_file.h). Run apart from the shelf, a disc that
// hangs or crashes start-up takes only this process with it.

#include "app/cli.h"

namespace kestrova {

// 0 once the answer is written (a disc that does not start is an answer too), 1 when it could
// not be.
int RunDiscProbeChild(int& argc, char** argv, const CommandLine& cli);

} // namespace kestrova
