// SPDX-License-Identifier: MIT
#pragma once
// Every control of the settings dialog "设置": its kind, name, container,
// caption and rectangle in twips (15 to a pixel at 96 dpi). A frontend walks
// the table to build its controls, so both programs show the same dialog.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/core/Twips.h"

namespace kuvell {

enum class ControlKind {
    Button,
    Page,
    Frame,
    TextBox,  // one line
    Label,    // plain text, wrapped
    CheckBox,
    ComboBox,      // a list with an editable text
    ColourSwatch,  // a box in one colour that reports clicks
    Banner,        // the picture the sweep reveals
    HelpText,      // several read-only lines
};

struct DialogControl
{
    ControlKind kind;
    std::string_view name;
    std::string_view container;  // another control's name; empty: the dialog itself
    std::string_view caption;    // UTF-8, shown exactly as written
    TwipsRect rect;
    // Painted in the colour of an active window's border, as the pages are.
    bool borderColour = false;
};

inline constexpr TwipsRect kDialogClientTwips{0, 0, 4545, 3555};
inline constexpr std::string_view kDialogCaption = "设置";
inline constexpr double kDialogFontPoints = 8.25;

// The dialog's controls, each after its container.
std::span<const DialogControl> dialogControls();

inline constexpr std::array<std::string_view, 4> kPageButtonNames = {"Command2_0", "Command2_1",
                                                                     "Command2_2", "Command2_3"};
inline constexpr std::array<std::string_view, 4> kPageNames = {"Picture1", "Picture2", "Picture3",
                                                               "Picture4"};
// Download, upload, background: in the order of Swatch.
inline constexpr std::array<std::string_view, 3> kSwatchNames = {"Picture5", "Picture6",
                                                                 "Picture7"};
inline constexpr std::array<std::string_view, 10> kTransparencyItems = {
    "10 %", "20 %", "30 %", "40 %", "50 %", "60 %", "70 %", "80 %", "90 %", "100 %"};
// The transparency box's text before anything is picked.
inline constexpr std::string_view kTransparencyPrompt = "Transparency";

}  // namespace kuvell
