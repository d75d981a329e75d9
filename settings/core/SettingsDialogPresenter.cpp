// SPDX-License-Identifier: MIT
#include "settings/core/SettingsDialogPresenter.h"

#include <cmath>

#include "settings/core/ByteCountFormat.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/TextConversions.h"

namespace kuvell {

namespace {

struct SwatchBinding
{
    int32_t ProgramVariables::*colour;
    const SettingKey<int32_t>* key;
};

SwatchBinding bindingOf(Swatch swatch)
{
    switch (swatch) {
        case Swatch::Download:
            return {&ProgramVariables::downloadColour, &settingkeys::downloadColour};
        case Swatch::Upload:
            return {&ProgramVariables::uploadColour, &settingkeys::uploadColour};
        case Swatch::Background:
            break;
    }
    return {&ProgramVariables::backgroundColour, &settingkeys::backgroundColour};
}

}  // namespace

SettingsDialogPresenter::SettingsDialogPresenter(ProgramVariables& vars, KeyValueStore& store,
                                                 MainWindowControl& mainWindow,
                                                 StartAtLogin& startAtLogin,
                                                 SettingsDialogView& view)
    : vars_(vars), store_(store), mainWindow_(mainWindow), startAtLogin_(startAtLogin), view_(view)
{
}

void SettingsDialogPresenter::load()
{
    namespace keys = settingkeys;
    if (const auto graphOnly = readValue(store_, keys::graphOnly)) {
        view_.setGraphOnlyTicked(*graphOnly);
    }
    view_.setInstallDateText("信息统计于 " + vars_.installDate);

    const auto level = readValue(store_, keys::transparencyLevel);
    if (level && transparencyAlpha(*level)) {
        view_.selectTransparency(*level);
        transparencyChosen(false);
    }
    if (readValue(store_, keys::startAtLogin).value_or(false)) {
        view_.setStartAtLoginTicked(true);
        startAtLoginClicked();
    }
    view_.placeCentredOnTop();
    view_.setSpeedText(integerToText(vars_.connectionSpeed));
    const std::string separator = view_.decimalSeparator();
    view_.setTotalsTexts(byteCountLine(vars_.downloadTotal, separator),
                         byteCountLine(vars_.uploadTotal, separator));
    for (const Swatch swatch : {Swatch::Download, Swatch::Upload, Swatch::Background}) {
        view_.setSwatchColour(swatch, vars_.*bindingOf(swatch).colour);
    }
    if (vars_.onTop) {
        view_.setOnTopTicked(true);
    }
    view_.restrictSpeedToDigits();
}

void SettingsDialogPresenter::pageChosen(int index)
{
    view_.showPage(index);
    // A sweep under way starts over: a flood of clicks costs one sweep.
    sweepColumn_ = 1;
    sweepRow_ = 1;
    view_.startSweep();
}

// Each step paints the rest of one row in the colour of the sweep's column, so
// the banner builds up from left to right. The positions run from 1, so column
// 0 and row 0 stay white until the finished picture arrives.
bool SettingsDialogPresenter::sweepStep()
{
    if (!view_.isShown()) {
        return false;  // nothing is drawn into a dialog that was closed
    }
    view_.drawBannerRowFrom(sweepColumn_, sweepRow_);
    if (++sweepRow_ > kBannerDrawableHeight) {
        sweepRow_ = 1;
        ++sweepColumn_;
    }
    if (sweepColumn_ > kBannerDrawableWidth) {
        view_.showWholeBanner();
        return false;
    }
    return true;
}

void SettingsDialogPresenter::startAtLoginClicked()
{
    const bool wanted = view_.startAtLoginTicked();
    const Result done = wanted ? startAtLogin_.enable() : startAtLogin_.disable();
    if (!done) {
        // The box shows what is really there, so OK never stores a choice that
        // did not take effect.
        view_.setStartAtLoginTicked(!wanted);
    }
}

void SettingsDialogPresenter::transparencyChosen(bool userChoice)
{
    const int index = view_.selectedTransparency();
    if (const auto alpha = transparencyAlpha(index)) {
        mainWindow_.setOpacity(*alpha);
    }
    const Result saved = writeText(store_, settingkeys::transparencyLevel, integerToText(index));
    if (!saved && userChoice) {
        reportUnsaved("The transparency", saved);
    }
}

void SettingsDialogPresenter::swatchClicked(Swatch swatch)
{
    const SwatchBinding binding = bindingOf(swatch);
    int32_t& colour = vars_.*binding.colour;
    const std::optional<int32_t> picked = view_.chooseColour(colour);
    if (!picked) {
        return;  // cancelled, or the dialog is gone: nothing of it may be touched
    }
    view_.setSwatchColour(swatch, *picked);
    colour = *picked;
    // Like a cancel, a failed store ends the handler: nothing further changes.
    if (const Result saved = writeText(store_, *binding.key, integerToText(colour)); !saved) {
        reportUnsaved("The colour", saved);
        return;
    }
    if (swatch == Swatch::Background) {
        mainWindow_.setGraphBackground(vars_.backgroundColour);
    }
}

void SettingsDialogPresenter::megabytesClicked()
{
    const std::string typed = view_.speedText();
    if (typed.empty()) {
        return;
    }
    const auto value = textToNumber(typed);
    if (!value || !std::isfinite(*value)) {
        return;  // more digits than a double holds: nothing sensible to show
    }
    view_.setMegabytesText(numberToText(*value / 1000000.0, view_.decimalSeparator()));
}

void SettingsDialogPresenter::speedEdited() { view_.markSpeedInvalid(false); }

void SettingsDialogPresenter::okClicked()
{
    namespace keys = settingkeys;
    // An empty box or digits beyond 32 bits would store a speed that start-up
    // cannot read back: nothing is applied, and the box says why.
    const std::string speedText = view_.speedText();
    const auto speed = textToInt32(speedText);
    if (!speed) {
        view_.markSpeedInvalid(true);
        return;
    }
    vars_.connectionSpeed = *speed;
    // Stored together in the end, in this order: with an atomic store a crash
    // leaves all or none.
    std::vector<StoreChange> changes{
        changeOf(keys::startAtLogin, flagText(view_.startAtLoginTicked())),
        changeOf(keys::graphOnly, flagText(view_.graphOnlyTicked())),
    };
    vars_.extraGraphHeight = view_.graphOnlyTicked() ? kGraphOnlyExtraHeight : int16_t{0};
    mainWindow_.nudgeSize();
    changes.push_back(changeOf(keys::connectionSpeed, speedText));
    applyOnTop(changes);
    if (const Result saved = store_.writeTexts(changes); !saved) {
        reportUnsaved("The settings", saved);
    }
    view_.closeAccepted();
}

void SettingsDialogPresenter::applyOnTop(std::vector<StoreChange>& changes)
{
    if (view_.onTopTicked()) {
        if (vars_.onTop) {
            return;
        }
        vars_.onTop = true;
        mainWindow_.setTopMost(true);
        changes.push_back(changeOf(settingkeys::onTop, "true"));
        return;
    }
    mainWindow_.setTopMost(false);
    if (vars_.onTop) {
        vars_.onTop = false;
        changes.push_back(changeOf(settingkeys::onTop, "false"));
    }
}

void SettingsDialogPresenter::reportUnsaved(std::string_view what, const Result& result)
{
    mainWindow_.showMessage(std::string(what) + " could not be saved to " + store_.location() +
                            ":\n" + result.reason + ".");
}

}  // namespace kuvell
