#pragma once
// What a file handed to the desktop is: a Windows program (started through Wine on other
// systems), a program of this system, or a document opened with its default handler.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrova {

enum class ProgramKind { Document, Native, Windows };

// How much of a file's start KindOfProgram looks at.
inline constexpr std::size_t kProgramHeadBytes = 4096;

// An "MZ" header whose new-header offset points at a "PE\0\0" signature inside `head`.
bool IsWindowsExecutable(std::span<const uint8_t> head);

// Windows programs by their header; programs of this system by their header (ELF, "#!") or by
// `markedExecutable` (the file's mode); anything else is a document.
ProgramKind KindOfProgram(std::span<const uint8_t> head, bool markedExecutable);

} // namespace kestrova
