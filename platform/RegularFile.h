// SPDX-License-Identifier: MIT
#pragma once
// Small files that must be plain files: a link, FIFO, device or folder in their
// place is never opened for reading, never waited on and never written over.
//
// They must also be the user's own. A file, its folder and the file a link
// there names are used only when they belong to the user running Kuvell (or to
// root) and no other user can change them; otherwise another user could plant a
// link that makes a save overwrite any file of the victim's. Root may work on
// other users' files (their owner and mode are kept), but not in places other
// users can change either.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Result.h"

namespace kuvell {

enum class FileReadOutcome { Read, Absent, NotRegular, TooLarge, Untrusted, Failed };

struct FileRead
{
    FileReadOutcome outcome = FileReadOutcome::Failed;
    std::string bytes;   // the whole file when Read
    std::string reason;  // otherwise, in words a person understands
};

// Follows links; reads the file only when it is (or links to) a regular file of
// at most maxBytes, and returns without waiting whatever is in its place.
[[nodiscard]] FileRead readRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the regular file at path (or the one a link there points to) in one
// atomic step, keeping its owner and mode, or creates it without write access
// for others. Anything that is not a regular file is left as it is and the
// write fails. Temporary files that earlier, interrupted replacements left in
// the folder are removed first.
[[nodiscard]] Result replaceRegularFile(const std::string& path, std::string_view bytes);

// Why the folder that holds path must not be written to (another user can
// change it), or an empty text. A missing folder has nothing against it.
[[nodiscard]] std::string untrustedFolderReason(const std::string& path);

}  // namespace kuvell
