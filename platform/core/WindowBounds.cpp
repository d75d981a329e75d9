// SPDX-License-Identifier: MIT
#include "platform/core/WindowBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kuvell {
namespace {

// One axis of a rectangle, in 64 bits: an edge at 2147483647 plus a width must
// not overflow.
struct Extent
{
    int64_t begin;
    int64_t length;
    int64_t end() const { return begin + length; }
};

Extent horizontal(const PixelRect& r) { return {r.x, std::max<int64_t>(r.width, 0)}; }
Extent vertical(const PixelRect& r) { return {r.y, std::max<int64_t>(r.height, 0)}; }

int64_t overlap(Extent a, Extent b)
{
    return std::min(a.end(), b.end()) - std::max(a.begin, b.begin);
}

int64_t gap(Extent a, Extent b)
{
    return std::max<int64_t>({0, b.begin - a.end(), a.begin - b.end()});
}

bool reachableOn(const PixelRect& window, const PixelRect& screen)
{
    // A window smaller than the part counts when all of it is there; one of no
    // size at all never does.
    const auto needed = [](Extent e) { return std::clamp<int64_t>(e.length, 1, kReachablePart); };
    const Extent x = horizontal(window);
    const Extent y = vertical(window);
    return overlap(x, horizontal(screen)) >= needed(x) && overlap(y, vertical(screen)) >= needed(y);
}

// The least move that brings the window's extent within the screen's, or onto
// its start when it is larger. The result lies within the screen's 32-bit range.
int32_t placedWithin(Extent window, Extent screen)
{
    if (window.length >= screen.length) {
        return static_cast<int32_t>(screen.begin);
    }
    return static_cast<int32_t>(
        std::clamp(window.begin, screen.begin, screen.end() - window.length));
}

}  // namespace

WindowSizeBounds windowSizeBounds(int dpi)
{
    return {{scaledPixels(kMinWindowWidth, dpi), scaledPixels(kMinWindowHeight, dpi)},
            {scaledPixels(kMaxWindowWidth, dpi), scaledPixels(kMaxWindowHeight, dpi)}};
}

WindowSize clampWindowSize(WindowSize proposed, int dpi)
{
    // Raising to the minimum and then capping at the maximum is a plain clamp,
    // since every minimum lies below its maximum, at every scale.
    const WindowSizeBounds bounds = windowSizeBounds(dpi);
    return {std::clamp(proposed.cx, bounds.smallest.cx, bounds.largest.cx),
            std::clamp(proposed.cy, bounds.smallest.cy, bounds.largest.cy)};
}

PixelRect keepReachable(PixelRect stored, std::span<const PixelRect> screens)
{
    const PixelRect* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const PixelRect& screen : screens) {
        if (screen.width <= 0 || screen.height <= 0) {
            continue;
        }
        if (reachableOn(stored, screen)) {
            return stored;
        }
        // Gaps reach 2^33 at most, so their squares are far from overflowing a double.
        const double distance =
            std::hypot(static_cast<double>(gap(horizontal(stored), horizontal(screen))),
                       static_cast<double>(gap(vertical(stored), vertical(screen))));
        if (distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return stored;
    }
    PixelRect moved = stored;
    moved.x = placedWithin(horizontal(stored), horizontal(*nearest));
    moved.y = placedWithin(vertical(stored), vertical(*nearest));
    return moved;
}

}  // namespace kuvell
