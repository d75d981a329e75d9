// SPDX-License-Identifier: MIT
#include "monitor/Logging.h"

Q_LOGGING_CATEGORY(lcMonitor, "kuvell.monitor")
