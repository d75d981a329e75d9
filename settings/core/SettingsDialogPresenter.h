// SPDX-License-Identifier: MIT
#pragma once
// What the settings dialog decides: the values it shows, each control's rule
// and the order in which OK applies and stores the choices.
#include <string>
#include <vector>

#include "settings/core/BannerBackdrop.h"
#include "settings/core/KeyValueStore.h"
#include "settings/core/MainWindowControl.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/SettingsDialogView.h"

namespace kuvell {

class SettingsDialogPresenter
{
  public:
    SettingsDialogPresenter(ProgramVariables& vars, KeyValueStore& store,
                            MainWindowControl& mainWindow, StartAtLogin& startAtLogin,
                            SettingsDialogView& view);

    // Shows the stored and current values; re-applies the stored transparency
    // and start at login, as a user's choice of them would. Each step stands
    // alone: a text that does not convert leaves its control as built.
    void load();

    void pageChosen(int index);
    // One step of the banner's sweep; false once it is over (or the dialog closed).
    bool sweepStep();
    void startAtLoginClicked();
    // userChoice: picked from the list, so a failed store is reported.
    void transparencyChosen(bool userChoice);
    void swatchClicked(Swatch swatch);
    void megabytesClicked();
    void speedEdited();
    void okClicked();

  private:
    void applyOnTop(std::vector<StoreChange>& changes);
    void reportUnsaved(std::string_view what, const Result& result);

    ProgramVariables& vars_;
    KeyValueStore& store_;
    MainWindowControl& mainWindow_;
    StartAtLogin& startAtLogin_;
    SettingsDialogView& view_;
    int sweepColumn_ = 1;  // the next step's pixel
    int sweepRow_ = 1;
};

}  // namespace kuvell
