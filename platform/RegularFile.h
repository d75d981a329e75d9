// SPDX-License-Identifier: MIT
#pragma once
// Small files that must be plain files: a link, FIFO, device or folder in their
// place is never opened for reading, never waited on and never written over.
#include <cstddef>
#include <string>
#include <string_view>

namespace kuvell {

enum class FileReadOutcome { Read, Absent, NotRegular, TooLarge, Failed };

struct FileRead
{
    FileReadOutcome outcome = FileReadOutcome::Failed;
    std::string bytes;   // the whole file when Read
    std::string reason;  // otherwise, in words a person understands
};

// Follows links; reads the file only when it is (or links to) a regular file of
// at most maxBytes, and returns without waiting whatever is in its place.
[[nodiscard]] FileRead readRegularFile(const std::string& path, std::size_t maxBytes);

struct [[nodiscard]] FileWrite
{
    bool written = false;
    std::string reason;  // the system's words when not written
};

// Replaces the regular file at path (or the one a link there points to) in one
// atomic step, keeping its owner and mode, or creates it with the usual mode.
// Anything that is not a regular file is left as it is and the write fails.
[[nodiscard]] FileWrite replaceRegularFile(const std::string& path, std::string_view bytes);

}  // namespace kuvell
