// SPDX-License-Identifier: MIT
#pragma once
// What the settings dialog's presenter asks of the dialog's controls. Setting
// a control here never runs the control's own handler.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kuvell {

enum class Swatch { Download, Upload, Background };

class SettingsDialogView
{
  public:
    virtual ~SettingsDialogView() = default;

    virtual void setGraphOnlyTicked(bool ticked) = 0;
    virtual bool graphOnlyTicked() const = 0;
    virtual void setOnTopTicked(bool ticked) = 0;
    virtual bool onTopTicked() const = 0;
    virtual void setStartAtLoginTicked(bool ticked) = 0;
    virtual bool startAtLoginTicked() const = 0;
    // 0 .. 9 of the transparency list.
    virtual void selectTransparency(int index) = 0;
    virtual int selectedTransparency() const = 0;  // -1: none picked

    virtual void setInstallDateText(std::string_view text) = 0;
    virtual void setTotalsTexts(std::string_view download, std::string_view upload) = 0;
    virtual void setSwatchColour(Swatch swatch, int32_t bgr) = 0;
    virtual void setSpeedText(std::string_view text) = 0;
    virtual std::string speedText() const = 0;
    virtual void setMegabytesText(std::string_view text) = 0;
    // Marks the speed box as holding what cannot be stored (and selects it).
    virtual void markSpeedInvalid(bool invalid) = 0;
    virtual void restrictSpeedToDigits() = 0;
    // Of the user's numbers, as the dialog shows them now.
    virtual std::string decimalSeparator() const = 0;
    virtual void placeCentredOnTop() = 0;

    // 0 .. 3: settings, traffic, about, help.
    virtual void showPage(int index) = 0;
    // Calls the presenter's sweepStep from the event loop until it returns false.
    virtual void startSweep() = 0;
    virtual bool isShown() const = 0;
    // Paints row y of the banner from column x on in the picture's colour at (x, y).
    virtual void drawBannerRowFrom(int x, int y) = 0;
    virtual void showWholeBanner() = 0;

    // The colour chooser; nullopt when it was cancelled or the dialog went meanwhile.
    virtual std::optional<int32_t> chooseColour(int32_t current) = 0;
    virtual void closeAccepted() = 0;
};

}  // namespace kuvell
