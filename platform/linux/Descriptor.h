// SPDX-License-Identifier: MIT
#pragma once
// A file descriptor that closes itself, so no early return leaks one.
#include <unistd.h>

#include <utility>

namespace kuvell {

class Descriptor
{
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        reset(std::exchange(other.fd_, -1));
        return *this;
    }

    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // The result of close() matters for a write: some file systems report a
    // full disk only there.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

}  // namespace kuvell
