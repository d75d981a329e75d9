// SPDX-License-Identifier: MIT
#include "monitor/core/TrafficTick.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "settings/core/TextConversions.h"
#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

// The counters are 32-bit and wrap, so the difference is taken modulo 2^32: a
// counter passing 2^31 or 2^32 between two ticks still gives the true small amount.
int32_t counterDifference(int32_t current, int32_t previous)
{
    return static_cast<int32_t>(static_cast<uint32_t>(current) - static_cast<uint32_t>(previous));
}

// The totals must read back through the store's 32-bit reader, so they stop at
// the largest value instead of wrapping negative.
void addToTotal(int32_t& total, int32_t amount)
{
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total = static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
}

// kb/s to one decimal. bytes / 1024 * 10 is exact for every 32-bit count, so
// exact halves occur (256 bytes are 0.25) and round to even.
double rateOf(int32_t bytes) { return std::nearbyint(bytes / 1024.0 * 10.0) / 10.0; }

std::optional<int> trayImageFor(double dl, double ul)
{
    if (dl > 0 && ul > 0) {
        return 4;
    }
    if (dl > 0 && ul == 0) {
        return 2;
    }
    if (dl == 0 && ul > 0) {
        return 3;
    }
    if (dl == 0 && ul == 0) {
        return 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int32_t> jumpLimitFromText(std::string_view text)
{
    // from_chars would take a leading minus sign; a limit is written in digits only.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int32_t limit = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), limit);
    if (error != std::errc{} || end != text.data() + text.size() || limit < 1) {
        return std::nullopt;
    }
    return limit;
}

TickTexts TrafficTick::sample(const TrafficCounters& counters, int32_t& downloadTotal,
                              int32_t& uploadTotal, std::string_view decimalSeparator)
{
    currentBytesReceived_ = counters.received;
    currentBytesSent_ = counters.sent;
    const int32_t UL = counterDifference(currentBytesSent_, previousBytesSent_);
    const int32_t DL = counterDifference(currentBytesReceived_, previousBytesReceived_);
    uploadDelta_ = UL;
    downloadDelta_ = DL;
    const bool baseline = !counters.from || counters.from != measured_;
    measured_ = counters.from;

    if (baseline || DL > jumpLimit_ || DL < 0) {
        downloadDelta_ = 0;
        uploadDelta_ = 0;
    } else if (UL >= 0 && UL <= jumpLimit_) {
        addToTotal(uploadTotal, UL);
        addToTotal(downloadTotal, DL);
    }
    // Otherwise the download counts but the upload fell or jumped: it is shown as
    // it is for this tick, and neither total grows.

    TickTexts texts;
    texts.dl = rateOf(downloadDelta_);
    texts.ul = rateOf(uploadDelta_);
    const std::string rates = "DL: " + numberToText(texts.dl, decimalSeparator) +
                              " kb/s - UL: " + numberToText(texts.ul, decimalSeparator) + " kb/s";
    texts.label = rates;
    texts.trayImage = trayImageFor(texts.dl, texts.ul);
    texts.tip = tipField("Kuvell - " + rates);

    previousBytesReceived_ = currentBytesReceived_;
    previousBytesSent_ = currentBytesSent_;
    return texts;
}

std::string tipField(std::string_view text)
{
    // The field holds characters, not bytes: a locale's decimal separator may
    // take several UTF-8 bytes and still counts as one. The field always keeps
    // its NUL, so a reader that stops there never runs past it; an overlong
    // text loses its end instead, never in the middle of a character.
    std::string field(utf8Prefix(text, kTipFieldLength - 1));
    const std::size_t characters = utf8Length(field);
    field.push_back('\0');
    field.append(kTipFieldLength - 1 - characters, ' ');
    return field;
}

std::string tipNaming(std::string_view tip, std::string_view interfaceName)
{
    constexpr std::string_view separator = " - ";
    const std::size_t used = utf8Length(tip) + separator.size();
    if (interfaceName.empty() || used + 2 > kTipFieldLength - 1) {  // room for a letter and "…"
        return std::string(tip);
    }
    const std::size_t room = kTipFieldLength - 1 - used;
    std::string named = std::string(tip).append(separator);
    if (utf8Length(interfaceName) <= room) {
        return named.append(interfaceName);
    }
    return named.append(utf8Prefix(interfaceName, room - 1)).append("…");
}

std::string tipText(std::string_view field)
{
    return std::string(field.substr(0, field.find('\0')));
}

}  // namespace kuvell
