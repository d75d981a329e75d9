// SPDX-License-Identifier: MIT
// Resource numbers shared by kuvell.rc and the programs that load them. Plain
// macros: the resource compiler reads this file too.
#pragma once

// The lowest-numbered icon group is the one Explorer shows for the file.
#define KUVELL_ICON_RESOURCE 1
