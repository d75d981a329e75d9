// SPDX-License-Identifier: MIT
#pragma once
// The sizing border of the frameless main window: which edges a press grips,
// and where a drag of them leaves the window. Pixels, outer window coordinates.
#include <cstdint>

#include "monitor/core/Pixels.h"

namespace kuvell {

enum class WindowEdge : uint8_t {
    Top = 1,
    Left = 2,
    Right = 4,
    Bottom = 8,
};

// A set of window edges; none: a move, or a point inside the client area.
class WindowEdges
{
  public:
    constexpr WindowEdges() = default;
    constexpr WindowEdges(WindowEdge edge) : bits_(static_cast<uint8_t>(edge)) {}

    constexpr bool has(WindowEdge edge) const { return (bits_ & static_cast<uint8_t>(edge)) != 0; }
    constexpr bool none() const { return bits_ == 0; }
    constexpr WindowEdges with(WindowEdge edge, bool on) const
    {
        WindowEdges result = *this;
        const auto bit = static_cast<uint8_t>(edge);
        result.bits_ = static_cast<uint8_t>(on ? bits_ | bit : bits_ & ~bit);
        return result;
    }
    constexpr bool operator==(const WindowEdges&) const = default;

    // The edges as bits of WindowEdge, for frontends whose own edge flags match them.
    constexpr uint8_t bits() const { return bits_; }
    static constexpr WindowEdges fromBits(unsigned bits)
    {
        WindowEdges edges;
        edges.bits_ = static_cast<uint8_t>(bits & 0xFu);
        return edges;
    }

  private:
    uint8_t bits_ = 0;
};

constexpr WindowEdges operator|(WindowEdges edges, WindowEdge edge)
{
    return edges.with(edge, true);
}
constexpr WindowEdges operator|(WindowEdge a, WindowEdge b) { return WindowEdges(a) | b; }

// Which edges of the sizing border `pos` (window coordinates) lies on; none
// inside the client area or outside the window.
WindowEdges sizingEdgesAt(PixelSize windowSize, PixelMargins border, PixelPoint pos);

// The outer rectangle after dragging `edges` by `delta`, within the window's
// size bounds; the opposite edges stay where they were.
PixelRect resizedGeometry(PixelRect start, WindowEdges edges, PixelPoint delta);

}  // namespace kuvell
