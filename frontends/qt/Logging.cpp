// SPDX-License-Identifier: MIT
#include "frontends/qt/Logging.h"

Q_LOGGING_CATEGORY(lcMonitor, "kuvell.monitor")
