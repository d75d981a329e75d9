// SPDX-License-Identifier: MIT
#pragma once
// Which clicks on the tray icon hide or show the window. An XEmbed tray reports
// double-clicks; a StatusNotifierItem host reports every click as one
// activation, so there the two activations of a double-click count once.
#include <cstdint>
#include <optional>

namespace kuvell {

enum class TrayClick { Single, Double, Other };

class TrayActivations
{
  public:
    TrayActivations(bool singleActivationsOnly, int doubleClickMilliseconds);

    // true: this click hides or shows the window. nowMilliseconds comes from a
    // monotonic clock.
    bool toggles(TrayClick click, int64_t nowMilliseconds);

  private:
    bool singleActivationsOnly_;
    int64_t doubleClickMilliseconds_;
    std::optional<int64_t> lastToggle_;
};

}  // namespace kuvell
