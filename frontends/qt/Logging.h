// SPDX-License-Identifier: MIT
#pragma once
// Where the window program reports what a desktop user never sees on screen.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMonitor)
