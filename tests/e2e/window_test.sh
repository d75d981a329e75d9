#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Kuvell's real window under a private Xvfb: it opens where and as large as
# its store says, survives its ticks, and "Avsluta" in the graph's popup menu
# ends it with status 0 after saving the totals and the placement.
#
#   window_test.sh <kuvell> <kuvell_e2e_pacer> fresh|hostile|unwritable|offscreen
#   window_test.sh <kuvell> <kuvell_e2e_pacer> baseline <kuvell-ifstat>
#
# fresh:      an empty store; the window must be 310 x 164 at 0,0.
# hostile:    a store full of garbage, huge numbers, wrong types and long lines;
#             Kuvell must run ten ticks and quit cleanly all the same.
# unwritable: the store's folder cannot be made; Kuvell runs on defaults, and
#             its quit shows a message about the lost save, reports it on
#             stderr and in its exit status.
# offscreen:  a hand-edited position of 2147483647 twips each way; the window
#             must open in the screen's bottom-right corner with its stored size.
# baseline:   the veth has carried megabytes before Kuvell starts and jumplimit=
#             lies above that; the totals must grow only by what was sent while
#             Kuvell ran, and kuvell-ifstat --watch must start from 0 as well.
# As root Kuvell runs in a namespace of its own with known traffic on its veth,
# and the saved totals are checked against the kernel's counters.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

usage="usage: window_test.sh <kuvell> <kuvell_e2e_pacer> fresh|hostile|unwritable|offscreen|baseline [<kuvell-ifstat>]"
kuvell=${1:?$usage}
pacer=${2:?$usage}
mode=${3:?$usage}
[[ "$mode" =~ ^(fresh|hostile|unwritable|offscreen|baseline)$ ]] || e2e_fail "$usage"
e2e_require_binary "$kuvell"
e2e_require_binary "$pacer"
if [[ "$mode" == baseline ]]; then
    ifstat=${4:?$usage}
    e2e_require_binary "$ifstat"
fi
e2e_require_program xdotool xdotool
e2e_require_program xwininfo x11-utils

readonly DOWNLOAD_RATE=30000 # bytes per second (a third of it uploaded), far below the 200000 filter
readonly HOSTILE_DLTOT=2147483000              # a few ticks of traffic pass the 32-bit limit
readonly EARLIER_RATE=1500000 EARLIER_SECONDS=3   # what the veth carried before Kuvell started
readonly JUMP_LIMIT=125000000                     # far above that, as for a 1 Gbit/s line
readonly BASELINE_DLTOT=1000 BASELINE_ULTOT=2000
artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/$mode
mkdir -p "$artifacts"
e2e_tempdir work
ini=$work/config/kuvell/kuvell.ini

write_hostile_store()
{
    mkdir -p "$(dirname "$ini")"
    local long
    long=$(head -c 300000 /dev/zero | tr '\0' 'x')
    {
        echo "a line before any section, without an equals sign"
        echo "[options]"
        echo "graphics=1,2,3"
        echo "installdate=$long"
        echo "visibility=99999999999999999999"
        echo "[setting]"
        echo "dlcolor=&HZZZZZZ"
        echo "ulcolor=-99999999999999999999"
        echo 'bgcolor="\"quoted\""'
        echo "connectionspeed=0"
        # Placement texts that are odd but convert: hex, a signed zero, a tie to even.
        echo "windowsposx=-0"
        echo "windowsposy=+0"
        echo "windowswidth=&H1FFFF"
        echo "windowsheight=2460.5"
        echo "DLtot=$HOSTILE_DLTOT"
        echo "ULtot=  12abc"
        echo "ontop=maybe"
        printf 'autostart=\377\376\001binary\n'
        printf '\001\002\003=\377\n'
        echo "key with spaces and = signs=a=b=c"
        echo "$long=$long"
        echo "[setting]"
        echo "connectionspeed=-2147483648"
        echo "[unterminated section"
    } >"$ini"
}

# ini_value <section> <key>: the text QSettings wrote for the key, or nothing.
ini_value()
{
    awk -v section="[$1]" -v key="$2" '
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$ini"
}

fail_with_evidence()
{
    e2e_screenshot "$artifacts/screen.png"
    echo "--- Kuvell's output ---" >&2
    cat "$artifacts/kuvell.log" >&2 || true
    e2e_fail "$*"
}

kuvell_alive()
{
    kill -0 "$kuvell_pid" 2>/dev/null
}

kuvell_gone()
{
    ! kuvell_alive
}

find_main_window()
{
    main_window=$(e2e_window_named "$kuvell_pid" Kuvell)
}

# send_traffic <bytes per second> <seconds>: both ways over the veth pair, the
# upload at a third of the download; returns when both pacers are done.
send_traffic()
{
    local sender receiver
    ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 "$1" "$2" >/dev/null &
    sender=$!
    ip netns exec "$NS_MON" "$pacer" 7001 "$ADDR_SND" 7001 $(($1 / 3)) "$2" >/dev/null &
    receiver=$!
    e2e_track_pid "$sender"
    e2e_track_pid "$receiver"
    wait "$sender" "$receiver" || e2e_fail "the traffic could not be sent"
    e2e_untrack_pid "$sender"
    e2e_untrack_pid "$receiver"
}

# Traffic on Kuvell's veth, when the kernel lets us make namespaces.
contained=false
run_in=()
if e2e_try_netns_pair; then
    contained=true
    run_in=(ip netns exec "$NS_MON")
elif [[ "${CI:-}" == true ]]; then
    e2e_fail "the kernel refuses network namespaces, which CI must provide"
elif [[ "$mode" == baseline ]]; then
    e2e_unavailable "the kernel refuses to create network namespaces (run as root)"
else
    echo "note: no network namespaces (not root): Kuvell measures the host, totals are checked loosely"
fi

case "$mode" in
hostile) write_hostile_store ;;
# A file where the folder should be: not even root can create the store there.
unwritable) mkdir -p "$work/config" && echo "not a folder" >"$work/config/kuvell" ;;
offscreen)
    mkdir -p "$(dirname "$ini")"
    printf '[setting]\nwindowsposx=2147483647\nwindowsposy=2147483647\nwindowswidth=3000\nwindowsheight=1500\n' >"$ini"
    ;;
baseline)
    mkdir -p "$(dirname "$ini")"
    printf '[options]\njumplimit=%s\n[setting]\nDLtot=%s\nULtot=%s\n' \
        "$JUMP_LIMIT" "$BASELINE_DLTOT" "$BASELINE_ULTOT" >"$ini"
    send_traffic "$EARLIER_RATE" "$EARLIER_SECONDS"
    earlier=$(e2e_counter "$NS_MON" "$IF_MON" rx_bytes)
    ((earlier > EARLIER_RATE && earlier < JUMP_LIMIT)) ||
        e2e_fail "the veth received $earlier bytes before Kuvell, not between $EARLIER_RATE and $JUMP_LIMIT"
    # The same first tick in kuvell-ifstat: a baseline, shown as 0.
    ifstat_lines=$(ip netns exec "$NS_MON" "$ifstat" --watch --count 2 --jump-limit "$JUMP_LIMIT") ||
        e2e_fail "kuvell-ifstat --watch failed: $ifstat_lines"
    [[ "$(head -n1 <<<"$ifstat_lines")" == "DL: 0 kb/s - UL: 0 kb/s" ]] ||
        e2e_fail "kuvell-ifstat --watch began with '$(head -n1 <<<"$ifstat_lines")' on a veth that had carried $earlier bytes"
    ;;
esac
expected_geometry="0 0 310 164"
# 2147483647 twips lie beyond the 1280 x 800 screen to the right and below.
[[ "$mode" == offscreen ]] && expected_geometry="1080 700 200 100"
e2e_start_xvfb
# A client in the namespace reaches the server through its socket file alone
# (the abstract socket is the host namespace's): check that, not Kuvell's start.
e2e_x_answers "${run_in[@]}" ||
    e2e_fail "the X server on $DISPLAY is not reachable from the namespace: $(ls -la /tmp/.X11-unix 2>&1)"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
"${run_in[@]}" env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"

e2e_wait_until 30 find_main_window || fail_with_evidence "no window titled Kuvell appeared within 30 s"
started=$SECONDS
geometry=$(e2e_geometry "$main_window")
[[ "$geometry" == "$expected_geometry" ]] ||
    fail_with_evidence "the window is at x y w h = $geometry, expected $expected_geometry"

if $contained && [[ "$mode" != offscreen ]]; then
    # The first tick, a second after the window was made, takes the baseline:
    # only what the veth counts after it is Kuvell's to count.
    sleep 2
    rx_before=$(e2e_counter "$NS_MON" "$IF_MON" rx_bytes)
    tx_before=$(e2e_counter "$NS_MON" "$IF_MON" tx_bytes)
    traffic_seconds=4
    [[ "$mode" == hostile ]] && traffic_seconds=8
    send_traffic "$DOWNLOAD_RATE" "$traffic_seconds"
fi
# Ten ticks for the hostile store; otherwise enough for the last traffic to be sampled.
settle=3
[[ "$mode" == hostile ]] && settle=$((started + 11 - SECONDS))
((settle > 0)) && sleep "$settle"
kuvell_alive || fail_with_evidence "Kuvell ended by itself before the quit"
e2e_screenshot "$artifacts/running.png"

e2e_pick_menu_item "$kuvell_pid" "$main_window" last "$artifacts/menu.png"
if [[ "$mode" == unwritable ]]; then
    e2e_answer_message "$kuvell_pid" "$main_window" "$artifacts/message.png" ||
        fail_with_evidence "Avsluta showed no message about the lost save"
fi
e2e_wait_until 15 kuvell_gone || fail_with_evidence "Kuvell still runs 15 s after Avsluta was picked"
status=0
wait "$kuvell_pid" || status=$?
e2e_untrack_pid "$kuvell_pid"
if [[ "$mode" == unwritable ]]; then
    # Not a crash (a signal gives 128 and up), and not success either: nothing was saved.
    ((status >= 1 && status < 128)) ||
        fail_with_evidence "Kuvell ended with status $status after a save that cannot succeed"
    grep -qF "$ini" "$artifacts/kuvell.log" ||
        fail_with_evidence "Kuvell did not name the settings file it failed to write"
    echo "PASS (unwritable): window 310 x 164 at 0,0; Avsluta reported the lost save, status $status"
    exit 0
fi
((status == 0)) || fail_with_evidence "Kuvell ended with status $status"

[[ -f "$ini" ]] || e2e_fail "Avsluta wrote no settings file at $ini"
problems=()
expect_value()
{
    local actual
    actual=$(ini_value "$1" "$2")
    [[ "$actual" == "$3" ]] || problems+=("[$1] $2 is '$actual', expected '$3'")
}
read -r x y w h <<<"$expected_geometry"
expect_value setting windowsposx $((x * 15))
expect_value setting windowsposy $((y * 15))
expect_value setting windowswidth $((w * 15))
expect_value setting windowsheight $((h * 15))
dltot=$(ini_value setting DLtot)
ultot=$(ini_value setting ULtot)
[[ "$dltot" =~ ^-?[0-9]+$ ]] || problems+=("DLtot is '$dltot', not a whole number")
[[ "$ultot" =~ ^-?[0-9]+$ ]] || problems+=("ULtot is '$ultot', not a whole number")

if [[ "$mode" == fresh ]]; then
    installdate=$(ini_value options installdate)
    [[ -n "$installdate" && "$installdate" != null ]] || problems+=("installdate is '$installdate'")
fi

if $contained && [[ "$mode" != offscreen ]] && ((${#problems[@]} == 0)); then
    # Every byte the veth counted after the first tick was sampled (traffic
    # stopped seconds before the quit); a fresh store starts both totals at 1,
    # the baseline one at known values, the hostile one DLtot near the limit.
    rx=$(($(e2e_counter "$NS_MON" "$IF_MON" rx_bytes) - rx_before))
    tx=$(($(e2e_counter "$NS_MON" "$IF_MON" tx_bytes) - tx_before))
    if [[ "$mode" == fresh || "$mode" == baseline ]]; then
        dl_start=1 ul_start=1
        [[ "$mode" == baseline ]] && dl_start=$BASELINE_DLTOT ul_start=$BASELINE_ULTOT
        ((rx > DOWNLOAD_RATE * 3)) || problems+=("only $rx bytes reached the veth")
        ((dltot - dl_start <= rx && dltot - dl_start >= rx - 200)) ||
            problems+=("DLtot is $dltot, the kernel counted $rx received bytes (+$dl_start) while Kuvell ran")
        ((ultot - ul_start <= tx && ultot - ul_start >= tx - 200)) ||
            problems+=("ULtot is $ultot, the kernel counted $tx sent bytes (+$ul_start) while Kuvell ran")
    elif [[ "$mode" == hostile ]]; then
        # The total passed 2^31 - 1: whatever Kuvell does then, it must not wrap to
        # a smaller or negative number and so lose what it had counted.
        ((dltot >= HOSTILE_DLTOT)) ||
            problems+=("DLtot fell from $HOSTILE_DLTOT to $dltot after $rx more bytes")
        ((ultot >= 0 && ultot <= tx)) ||
            problems+=("ULtot is $ultot; it could not convert, so it counts from 0 ($tx bytes sent)")
    fi
fi

((${#problems[@]} == 0)) || e2e_fail "$(printf '\n  %s' "${problems[@]}")"
echo "PASS ($mode): window $w x $h at $x,$y; Avsluta ended Kuvell with status 0;" \
    "saved DLtot=$dltot ULtot=$ultot and the placement"
