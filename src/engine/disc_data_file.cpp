#include "engine/disc_data_file.h"

#include "disc/disc_limits.h"
#include "disc/file_reader.h"

#include <string_view>
#include <vector>

namespace kestrova {

void LoadDiscDataFile(LineList& lines, const std::string& path) {
    // Only a regular file, never more than the limit: a folder reads as nothing, a pipe would
    // never end and millions of lines help nobody.
    const std::vector<uint8_t> bytes = ReadBoundedFile(path, kDiscDataKind);
    lines.LoadFromBytes(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace kestrova
