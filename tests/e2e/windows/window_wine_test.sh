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

readonly FRAME=1024 FRAMES_PER_SECOND=10
readonly WS_POPUP=0x80000000 WS_THICKFRAME=0x00040000 WS_CAPTION=0x00C00000
readonly WS_EX_TOPMOST=0x8 WS_EX_TOOLWINDOW=0x80 WS_EX_LAYERED=0x80000
readonly SETTINGS='HKCU\Software\kuvell'

usage="usage: window_wine_test.sh <kuvell.exe> <window_probe.exe> <kuvell_e2e_pacer> <wine64>"
kuvell=${1:?$usage}
probe=${2:?$usage}
pacer=${3:?$usage}
wine=${4:?$usage}
e2e_require_binary "$kuvell"
e2e_require_binary "$probe"
e2e_require_binary "$pacer"
[[ -x "$wine" ]] || e2e_unavailable "wine64 is not installed (Debian package wine64)"
[[ -f "${WINEPREFIX:?}/system.reg" ]] || e2e_fail "no wine prefix in $WINEPREFIX"
e2e_require_program xdpyinfo x11-utils
wineserver=$(dirname "$wine")/wineserver

# wine reads the interface table in its server's processes, so the server must
# start inside the namespace; and none may outlive the test.
stop_wineserver() { "$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; }
stop_wineserver
# The prefix's other tests use wine's null display driver; this one needs the
# X server, and gives the prefix back as it found it.
readonly DRIVERS='HKCU\Software\Wine\Drivers'
graphics_driver() { "$wine" reg add "$DRIVERS" /v Graphics /d "$1" /f >/dev/null 2>&1; }
previous_driver=$("$wine" reg query "$DRIVERS" /v Graphics 2>/dev/null | tr -d '\r' |
    awk '$1 == "Graphics" { print $3 }')
# The screen's dots per inch, which each wine process reads as it starts.
readonly DESKTOP='HKCU\Control Panel\Desktop'
log_pixels() { "$wine" reg add "$DESKTOP" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
previous_dpi=$("$wine" reg query "$DESKTOP" /v LogPixels 2>/dev/null | tr -d '\r' |
    awk '$1 == "LogPixels" { print $3 }')
stop_wineserver
restore_driver() {
    stop_wineserver
    if [[ -n "$previous_driver" ]]; then
        graphics_driver "$previous_driver"
    else
        "$wine" reg delete "$DRIVERS" /v Graphics /f >/dev/null 2>&1 || true
    fi
    if [[ -n "$previous_dpi" ]]; then
        log_pixels $((previous_dpi))
    else
        "$wine" reg delete "$DESKTOP" /v LogPixels /f >/dev/null 2>&1 || true
    fi
    stop_wineserver
}
trap 'restore_driver; e2e_cleanup' EXIT
graphics_driver x11
log_pixels 96
stop_wineserver

e2e_netns_pair
e2e_start_xvfb
in_monitor() { ip netns exec "$NS_MON" "$@"; }
e2e_x_answers in_monitor || e2e_fail "the X server on $DISPLAY is out of the namespace's reach"
# Windows consoles end lines with CR LF.
wine_run() { in_monitor "$wine" "$@" | tr -d '\r'; }

# A first start: nothing of Kuvell's in the registry.
wine_run reg delete "$SETTINGS" /f >/dev/null 2>&1 || true

e2e_tempdir dir
start_kuvell() {
    in_monitor "$wine" "$kuvell" >"$dir/out" 2>&1 &
    kuvell_pid=$!
    e2e_track_pid "$kuvell_pid"
    e2e_wait_until 60 rate_shown || e2e_fail "no window titled Kuvell with a rate line: $(wine_run "$probe")"
    report=$(wine_run "$probe")
    echo "$report"
}
rate_shown() { [[ "$(probe_key rate)" == DL:* ]]; }
# field <key>: the probe's line for the key, from its last report.
field() { awk -v key="$1" '$1 == key { sub(/^[^ ]+ /, ""); print; exit }' <<<"$report"; }
probe_key() {
    local report
    report=$(wine_run "$probe")
    field "$1"
}
ended_with_0() {
    local status=0
    wait "$kuvell_pid" || status=$?
    e2e_untrack_pid "$kuvell_pid"
    ((status == 0)) || e2e_fail "kuvell.exe ended with status $status: $(cat "$dir/out")"
}
expect_rect() { [[ "$(field rect)" == "$1" ]] || e2e_fail "the window is at $(field rect), not $1"; }

start_kuvell
expect_rect "0 0 310 164"
style=$(field style) exstyle=$(field exstyle)
((style & WS_POPUP && style & WS_THICKFRAME)) || e2e_fail "style $style: not a sizable popup"
((!(style & WS_CAPTION))) || e2e_fail "style $style: a caption"
((exstyle & WS_EX_TOOLWINDOW && exstyle & WS_EX_LAYERED && exstyle & WS_EX_TOPMOST)) ||
    e2e_fail "extended style $exstyle: not a layered tool window in the topmost band"
[[ "$(field visible)" == 1 && "$(field alpha)" == 255 ]] || e2e_fail "not shown opaque"
[[ "$(field rate)" == "DL: 0 kb/s - UL: 0 kb/s" ]] || e2e_fail "rate line: $(field rate)"

# The monitor end drains its port, so no "port unreachable" replies travel back
# up the veth; its own frames go to its loopback, which is not counted.
seconds=40
ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 $((FRAME * FRAMES_PER_SECOND)) "$seconds" "$FRAME" \
    >/dev/null &
e2e_track_pid $!
in_monitor "$pacer" 7001 127.0.0.1 7009 "$FRAME" "$seconds" "$FRAME" >/dev/null &
e2e_track_pid $!
# A tick boundary may fall either side of a frame: one frame more or less.
arriving() { [[ "$(probe_key rate)" =~ ^DL:\ (9|10|11)(\.[0-9]+)?\ kb/s\ -\ UL:\ 0\ kb/s$ ]]; }
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
    saved=$(wine_run reg query "$SETTINGS\\setting")
    echo "$saved"
    for value in "DLtot REG_SZ [0-9]+" "ULtot REG_SZ [0-9]+" "windowsposx REG_SZ $1" \
        "windowsposy REG_SZ $2" "windowswidth REG_SZ $3" "windowsheight REG_SZ $4"; do
        grep -Eq "^ +${value// / +}\$" <<<"$saved" || e2e_fail "after Avsluta no value like '$value'"
    done
}
# store_placement <left> <top> <width>: twips for a next start.
store_placement() {
    wine_run reg add "$SETTINGS\\setting" /v windowsposx /t REG_SZ /d "$1" /f >/dev/null
    wine_run reg add "$SETTINGS\\setting" /v windowsposy /t REG_SZ /d "$2" /f >/dev/null
    wine_run reg add "$SETTINGS\\setting" /v windowswidth /t REG_SZ /d "$3" /f >/dev/null
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
