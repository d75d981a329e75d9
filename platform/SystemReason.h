// SPDX-License-Identifier: MIT
#pragma once
// Why Windows refused, in its own words, for messages a person reads.
#include <string>

namespace kuvell {

// The system's text for an error code (GetLastError, a registry status), in
// UTF-8 without its final full stop, followed by the number: "Access denied
// (error 5)". Only the number when the system has no text for it.
std::string systemReason(unsigned long code);

}  // namespace kuvell
