// SPDX-License-Identifier: MIT
#pragma once
// What every operation that can fail for a reason outside Kuvell's control
// returns: the store, files, start at login. It must be looked at.
#include <string>
#include <utility>

namespace kuvell {

struct [[nodiscard]] Result
{
    bool done = false;
    std::string reason;  // why not, for a person: the system's words where it gave any

    static Result success() { return {true, {}}; }
    static Result failure(std::string reason) { return {false, std::move(reason)}; }
    explicit operator bool() const { return done; }
};

}  // namespace kuvell
