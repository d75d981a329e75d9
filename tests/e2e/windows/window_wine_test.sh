#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kuvell.exe under wine on a private Xvfb, inside a monitor namespace joined to
# a sender namespace by a veth pair. On a first start (no settings in the
# registry) its window titled "Kuvell" is a borderless sizable tool window in
# the topmost band, layered and opaque, 310 x 164 pixels in the top-left
# corner, and its rate line reads "DL: 0 kb/s - UL: 0 kb/s"; with 10 frames of
# 1024 bytes a second arriving it reads 10 kb/s down. A close from outside ends
# it with status 0 and saves nothing. Hostile values in the registry (other
# types, a 1 MB text, numbers out of range) start it on the defaults; "Avsluta"
# from the graph's popup menu stores the totals and placement as texts, and a
# next start opens where the store says. At 144 dpi (wine's LogPixels) every
# pixel size is half as large again: a first start's window is 465 x 246, and
# the twips it stores and restores go 10 to a pixel.
#
#   window_wine_test.sh <kuvell.exe> <window_probe.exe> <kuvell_e2e_pacer> <wine64>
# WINEPREFIX names a prefix that wineboot has made.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"

readonly WS_POPUP=0x80000000 WS_THICKFRAME=0x00040000 WS_CAPTION=0x00C00000
readonly WS_EX_TOPMOST=0x8 WS_EX_TOOLWINDOW=0x80 WS_EX_LAYERED=0x80000

source "$here/wine_lib.sh" "$@"
wine_on_x_server

e2e_netns_pair
e2e_start_xvfb
e2e_x_answers in_monitor || e2e_fail "the X server on $DISPLAY is out of the namespace's reach"

# A first start: nothing of Kuvell's in the registry.
wine_run reg delete "$SETTINGS" /f >/dev/null 2>&1 || true

e2e_tempdir dir

start_kuvell
expect_rect "0 0 310 164"
style=$(field style) exstyle=$(field exstyle)
((style & WS_POPUP && style & WS_THICKFRAME)) || e2e_fail "style $style: not a sizable popup"
((!(style & WS_CAPTION))) || e2e_fail "style $style: a caption"
((exstyle & WS_EX_TOOLWINDOW && exstyle & WS_EX_LAYERED && exstyle & WS_EX_TOPMOST)) ||
    e2e_fail "extended style $exstyle: not a layered tool window in the topmost band"
[[ "$(field visible)" == 1 && "$(field alpha)" == 255 ]] || e2e_fail "not shown opaque"
[[ "$(field rate)" == "DL: 0 kb/s - UL: 0 kb/s" ]] || e2e_fail "rate line: $(field rate)"

start_traffic 40
e2e_wait_until 20 arriving || e2e_fail "with $FRAMES_PER_SECOND kb/s arriving the line reads: $(probe_key rate)"
echo "rate with traffic: $(probe_key rate)"

# A close from outside (not "Avsluta"): the tray icon goes, nothing is saved.
wine_run "$probe" close >/dev/null || e2e_fail "the probe could not ask the window to close"
ended_with_0
saved=$(wine_run reg query "$SETTINGS\\setting" 2>/dev/null || true)
[[ "$saved" != *DLtot* ]] || e2e_fail "a close saved the totals:"$'\n'"$saved"
wine_run reg query "$SETTINGS\\options" /v installdate >/dev/null ||
    e2e_fail "the first start wrote no installdate"

# Hostile values: another type, a text far beyond what is read, out-of-range numbers.
{
    echo 'REGEDIT4'
    echo '[HKEY_CURRENT_USER\Software\kuvell\setting]'
    echo '"windowswidth"=dword:00000005'
    printf '"windowsheight"="%s"\n' "$(head -c 1048576 /dev/zero | tr '\0' 7)"
    echo '"windowsposx"="99999999999"'
    echo '"dlcolor"=hex:01,02,03'
    echo '[HKEY_CURRENT_USER\Software\kuvell\options]'
    echo '"visibility"="12"'
} >"$dir/hostile.reg"
wine_run reg import "$(in_monitor "$wine" winepath -w "$dir/hostile.reg" | tr -d '\r')" >/dev/null ||
    e2e_fail "wine's reg could not import the hostile values"
start_kuvell
expect_rect "0 0 310 164"
[[ "$(field alpha)" == 255 ]] || e2e_fail "a visibility of 12 changed the opacity to $(field alpha)"

# quit_and_expect_stored <left> <top> <width> <height>: "Avsluta", the popup
# menu's last item, from a right click on the graph, stores the totals and
# this placement in twips.
quit_and_expect_stored() {
    xdotool mousemove --sync 150 60 click 3
    sleep 1
    xdotool key Up Return
    ended_with_0
    expect_stored "$@"
}
quit_and_expect_stored 0 0 4650 2460

# A next start opens where the store says (twips: 15 to a pixel), at the
# stored transparency level's alpha (level 4: 50 %, alpha 128).
store_placement 1500 750 3000
wine_run reg add "$SETTINGS\\options" /v visibility /t REG_SZ /d 4 /f >/dev/null
start_kuvell
expect_rect "100 50 200 164"
[[ "$(field alpha)" == 128 ]] || e2e_fail "the stored level 4 gave the alpha $(field alpha), not 128"
wine_run "$probe" close >/dev/null
ended_with_0

# At 150 %: a first start's window is the default size times 1.5, Avsluta
# stores the same twips as at 96 dpi, and a stored placement opens at 10
# twips to a pixel.
wine_run reg delete "$SETTINGS" /f >/dev/null 2>&1 || true
wine_run reg add "$DESKTOP" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
start_kuvell
expect_rect "0 0 465 246"
quit_and_expect_stored 0 0 4650 2460
store_placement 1500 750 3000
start_kuvell
expect_rect "150 75 300 246"
wine_run "$probe" close >/dev/null
ended_with_0
echo "PASS: kuvell.exe's first-start window shows the rates, a close saves nothing, hostile values" \
    "start it on defaults, Avsluta stores the placement and a next start restores it and its" \
    "transparency; at 144 dpi the window and its stored placement scale by 1.5"
