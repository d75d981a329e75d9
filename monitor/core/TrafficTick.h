// SPDX-License-Identifier: MIT
#pragma once
// One second of sampling: counters in, filtered deltas, totals, and the texts
// the window, the tray icon and kuvell-ifstat --watch show.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/core/IfTableParser.h"

namespace kuvell {

struct TickTexts
{
    double dl = 0;  // shown rates in kb/s, rounded to one decimal
    double ul = 0;
    std::string label;             // "DL: <dl> kb/s - UL: <ul> kb/s"
    std::optional<int> trayImage;  // 1..4, nullopt = leave the icon as it is
    std::string tip;               // the 64-character tooltip field (tipField)
};

// More than this many bytes received in one tick is taken for a counter jump,
// not for traffic, unless the user sets a limit of their own.
inline constexpr int32_t kDefaultJumpLimit = 200000;

// A jump limit as the user writes it: decimal digits for 1 to 2147483647;
// nullopt for anything else (blanks, signs, fractions, out of range).
std::optional<int32_t> jumpLimitFromText(std::string_view text);

class TrafficTick
{
  public:
    // jumpLimit: bytes per tick, 1 or more; the most either direction may count.
    explicit TrafficTick(int32_t jumpLimit = kDefaultJumpLimit) : jumpLimit_(jumpLimit) {}

    // counters: those of a snapshot taken for this tick. Adds accepted amounts
    // to DLtot/ULtot (saturating at INT32_MAX). The first counters of an
    // interface (at the first tick, after it was missing, or when another one
    // is measured) only become the baseline: 0 shown, nothing added, as they
    // hold everything the interface carried before.
    TickTexts sample(const TrafficCounters& counters, int32_t& downloadTotal, int32_t& uploadTotal,
                     std::string_view decimalSeparator);

    int32_t downloadDelta() const { return downloadDelta_; }
    int32_t uploadDelta() const { return uploadDelta_; }

  private:
    int32_t jumpLimit_;
    std::optional<CountedInterface> measured_;  // where the previous counters came from
    int32_t previousBytesReceived_ = 0;
    int32_t currentBytesReceived_ = 0;
    int32_t previousBytesSent_ = 0;
    int32_t currentBytesSent_ = 0;
    int32_t downloadDelta_ = 0;
    int32_t uploadDelta_ = 0;
};

inline constexpr std::size_t kTipFieldLength = 64;

// text + NUL, padded with blanks to 64 characters; a longer text is cut to 63
// characters so the NUL stays. Characters, not bytes: UTF-8 sequences count once.
std::string tipField(std::string_view text);
// The visible tooltip followed by " - " and how the measured interface is
// known (its description, else its name),
// within the field's 63 characters: the tip stays whole, the name is cut (its
// end replaced by "…"), and where not even that fits, the tip is alone.
std::string tipNaming(std::string_view tip, std::string_view interfaceName);
// The visible tooltip: the field up to its NUL.
std::string tipText(std::string_view field);

}  // namespace kuvell
