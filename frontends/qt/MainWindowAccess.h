// SPDX-License-Identifier: MIT
#pragma once
// The main window as the Qt settings dialog sees it: what the dialog's rules
// may do to it, and the widget the dialog belongs to.
#include "settings/core/MainWindowControl.h"

class QWidget;

namespace kuvell {

class MainWindowAccess : public MainWindowControl
{
  public:
    // The dialog's owner, and the screen it is centred on.
    virtual QWidget* mainWindow() = 0;
};

}  // namespace kuvell
