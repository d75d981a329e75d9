// SPDX-License-Identifier: MIT
#pragma once
// A lock file that keeps two copies of Kuvell from interleaving a read and a
// replace of the same file. It is written as Qt's QLockFile writes one ("pid",
// program name, host name, a line each), so a running copy of an older Kuvell
// and this one still keep each other out.
//
// A live holder is waited for two seconds. A lock left by a crash is taken
// over: at once when its process is gone or it is older than ten seconds (a
// save holds it for milliseconds), after the wait when it is still empty (a
// save killed between making it and writing its id). Only a regular file is
// ever a lock: a link or a folder in its place fails the lock.
#include <string>

#include "platform/core/Result.h"

namespace kuvell {

class FileLock
{
  public:
    explicit FileLock(std::string path);
    ~FileLock();  // removes the lock file when it is held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    [[nodiscard]] Result take();
    bool isHeld() const { return descriptor_ >= 0; }

  private:
    std::string path_;
    int descriptor_ = -1;
};

}  // namespace kuvell
