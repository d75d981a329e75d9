// SPDX-License-Identifier: MIT
#pragma once
// Every key Kuvell keeps: its section, name, the default a read is given and
// the conversion of its text. Start-up, the settings dialog and the quit all
// read and write through this table, so a key has one spelling and one rule.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/core/TextConversions.h"

namespace kuvell {

struct KeyName
{
    std::string_view section;
    std::string_view name;
    bool operator==(const KeyName&) const = default;
};

template <typename Value>
struct SettingKey
{
    KeyName name;
    std::string_view defaultText;
    std::optional<Value> (*convert)(std::string_view text);
};

// Any text, unchanged.
std::optional<std::string> anyText(std::string_view text);
// Graph-only layout: the text is a number equal to 1 ("1", "1.0"); "0.6" and
// "1.4" are not. A text that is no number fails.
std::optional<bool> graphOnlyFromText(std::string_view text);
// Exactly "1", case and blanks included; anything else is false.
std::optional<bool> exactlyOneFromText(std::string_view text);
// How the tick boxes are written: "1" or "0".
std::string flagText(bool ticked);

namespace settingkeys {

inline constexpr std::string_view kOptions = "options";
inline constexpr std::string_view kSetting = "setting";

inline constexpr SettingKey<bool> graphOnly{{kOptions, "graphics"}, "0", &graphOnlyFromText};
// Written once, with the date of the first start, when it reads "null".
inline constexpr SettingKey<std::string> installDate{{kOptions, "installdate"}, "null", &anyText};
inline constexpr SettingKey<int16_t> transparencyLevel{{kOptions, "visibility"}, "9", &textToInt16};
// The two measuring choices. The interface is also chosen from the tray menu,
// which writes or removes it; the jump limit only a user adds by hand.
inline constexpr SettingKey<std::string> measuredInterface{{kOptions, "interface"}, "", &anyText};
inline constexpr SettingKey<std::string> jumpLimit{{kOptions, "jumplimit"}, "", &anyText};

inline constexpr SettingKey<int32_t> downloadColour{
    {kSetting, "dlcolor"}, "&H0000FF", &textToInt32};
inline constexpr SettingKey<int32_t> uploadColour{{kSetting, "ulcolor"}, "&H00FF00", &textToInt32};
inline constexpr SettingKey<int32_t> backgroundColour{
    {kSetting, "bgcolor"}, "&HBEAA49", &textToInt32};
inline constexpr SettingKey<int32_t> connectionSpeed{
    {kSetting, "connectionspeed"}, "1024000", &textToInt32};
// The window's outer rectangle in twips, written at quit.
inline constexpr SettingKey<int32_t> windowLeft{{kSetting, "windowsposx"}, "0", &textToInt32};
inline constexpr SettingKey<int32_t> windowTop{{kSetting, "windowsposy"}, "0", &textToInt32};
inline constexpr SettingKey<int32_t> windowWidth{{kSetting, "windowswidth"}, "4650", &textToInt32};
inline constexpr SettingKey<int32_t> windowHeight{
    {kSetting, "windowsheight"}, "2460", &textToInt32};
// The running totals in bytes, written at quit.
inline constexpr SettingKey<int32_t> downloadTotal{{kSetting, "DLtot"}, "1", &textToInt32};
inline constexpr SettingKey<int32_t> uploadTotal{{kSetting, "ULtot"}, "1", &textToInt32};
inline constexpr SettingKey<bool> onTop{{kSetting, "ontop"}, "true", &textToBoolean};
inline constexpr SettingKey<bool> startAtLogin{{kSetting, "autostart"}, "0", &exactlyOneFromText};

}  // namespace settingkeys

}  // namespace kuvell
