#pragma once
// Memory fresh from the system is handed out a page at a time, each on its first touch. Where the
// system can, a large buffer about to be written whole is made ready in one go instead.

#include <cstddef>

namespace kestrova {

// A hint: the contents are unchanged, and where it is refused the pages come one by one.
void ReadyForWriting(void* data, std::size_t bytes);

} // namespace kestrova
