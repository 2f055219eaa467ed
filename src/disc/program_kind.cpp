#include "disc/program_kind.h"

#include "base/byte_reader.h"

namespace kestrova {

bool IsWindowsExecutable(std::span<const uint8_t> head) {
    constexpr std::size_t kNewHeaderOffsetAt = 0x3C;
    if (head.size() < kNewHeaderOffsetAt + 4 || head[0] != 'M' || head[1] != 'Z') {
        return false;
    }
    const uint32_t at = ByteReader(head).U32At(kNewHeaderOffsetAt);
    return at >= kNewHeaderOffsetAt + 4 && at <= head.size() - 4 && head[at] == 'P' &&
           head[at + 1] == 'E' && head[at + 2] == 0 && head[at + 3] == 0;
}

ProgramKind KindOfProgram(std::span<const uint8_t> head, bool markedExecutable) {
    if (IsWindowsExecutable(head)) {
        return ProgramKind::Windows;
    }
    const bool elf =
        head.size() >= 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F';
    const bool script = head.size() >= 2 && head[0] == '#' && head[1] == '!';
    return elf || script || markedExecutable ? ProgramKind::Native : ProgramKind::Document;
}

} // namespace kestrova
