#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What Kuvell measures once the user says what to measure. The monitor
# namespace's first veth carries known traffic; a second, idle veth pair made
# after it holds the last hardware addresses, as a container's or a virtual
# machine's bridge port does on a laptop. Frames are 1024 bytes, so a frame a
# second is 1 kb/s.
#   - no setting: the idle pair is measured, and 10 frames/s show as 0;
#   - interface=<first veth>: the same traffic shows as 10 kb/s;
#   - 1000 frames/s (1000 kb/s) are a jump at the default limit and show as 0,
#     and show as about 1000 kb/s with jumplimit=5000000.
# Each case is read in the window's rate line (over the accessibility bus, as a
# screen reader reads it) and in kuvell-ifstat --watch with the same choices.
#
#   choice_test.sh <kuvell> <kuvell-ifstat> <kuvell_e2e_pacer> <kuvell_e2e_label>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

readonly FRAME=1024 SLOW_FRAMES=10 FAST_FRAMES=1000 FAST_LIMIT=5000000
readonly READ_SECONDS=11 IFSTAT_LINES=10 SETTLE_SECONDS=2.5
readonly RATE_LINE='DL: -?[0-9]+([.][0-9]+)? kb/s - UL: -?[0-9]+([.][0-9]+)? kb/s'

# Inside the monitor namespace and a private D-Bus session: Kuvell on the
# store in <config>, its rate line read every 250 ms for READ_SECONDS. The
# session itself has no DISPLAY: an accessibility bus would otherwise announce
# itself on the X server, which the windows of all cases share.
read_window()
{
    local kuvell=$1 label=$2 config=$3 log=$4 display=$5 pid status=0
    DISPLAY=$display QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb HOME="$config" \
        XDG_CONFIG_HOME="$config" "$kuvell" >"$log" 2>&1 &
    pid=$!
    "$label" "$READ_SECONDS" 250 || status=$?
    kill -0 "$pid" 2>/dev/null || {
        echo "# Kuvell ended by itself"
        status=1
    }
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" || true
    return "$status"
}

if [[ "${1:-}" == --read-window ]]; then
    shift
    read_window "$@"
    exit
fi

usage="usage: choice_test.sh <kuvell> <kuvell-ifstat> <kuvell_e2e_pacer> <kuvell_e2e_label>"
kuvell=${1:?$usage}
ifstat=${2:?$usage}
pacer=${3:?$usage}
label=${4:?$usage}
for binary in "$kuvell" "$ifstat" "$pacer" "$label"; do
    e2e_require_binary "$binary"
done
e2e_require_program dbus-run-session dbus-daemon
[[ -x /usr/libexec/at-spi-bus-launcher ]] ||
    e2e_unavailable "the accessibility bus is not installed (Debian package at-spi2-core)"
e2e_netns_pair

# The idle pair, numbered after the first veth so that it comes later in the
# kernel's list whatever numbers the namespace handed out.
mon_index=$(ip netns exec "$NS_MON" cat "/sys/class/net/$IF_MON/ifindex")
IDLE_A="${IF_MON}i" IDLE_B="${IF_MON}j"
ip -n "$NS_MON" link add "$IDLE_A" index $((mon_index + 10)) type veth peer name "$IDLE_B" index $((mon_index + 11))

e2e_tempdir work
artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/choice
mkdir -p "$artifacts"
problems=()

# The listing shows which row Kuvell measures, without and with a choice.
taken_row()
{
    ip netns exec "$NS_MON" "$ifstat" "$@" | awk -F'\t' '$12 == "taken" { print $2 }'
}
[[ "$(taken_row)" == "$IDLE_B" ]] || problems+=("kuvell-ifstat marks '$(taken_row)', not the idle $IDLE_B")
[[ "$(taken_row --interface "$IF_MON")" == "$IF_MON" ]] ||
    problems+=("kuvell-ifstat --interface $IF_MON marks '$(taken_row --interface "$IF_MON")'")

# store <name> <ini lines...>: a config folder whose kuvell.ini holds the lines.
store()
{
    local dir=$work/$1
    shift
    mkdir -p "$dir/kuvell"
    printf '%s\n' "$@" >"$dir/kuvell/kuvell.ini"
    echo "$dir"
}

# judge <what> <low> <high> < readings: after the first rate line and
# SETTLE_SECONDS (the first ticks measure from 0), at least 80 % of the
# download rates must lie within low..high, and enough of them must be there.
judge()
{
    local what=$1 low=$2 high=$3 verdict
    verdict=$(awk -v low="$low" -v high="$high" -v settle="$SETTLE_SECONDS" -v rate="$RATE_LINE" '
        match($0, rate) {
            split(substr($0, RSTART + 4), parts, " ")
            dl = parts[1] + 0
            t = $1 == "DL:" ? n_lines++ : $1 + 0  # ifstat lines come one a second, untimed
            if (first == "") first = t
            if (t - first < settle) next
            seen++; if (dl >= low && dl <= high) good++; else bad = bad " " dl
        }
        END {
            if (seen < 6) { print "only " (seen + 0) " rate readings"; exit }
            if (good < 0.8 * seen) printf "%d of %d readings outside %s..%s kb/s:%s\n", seen - good, seen, low, high, bad
        }')
    [[ -z "$verdict" ]] || problems+=("$what: $verdict")
}

# run_case <fps> then pairs of "<window|ifstat> <what> <low> <high> <config-or-args>".
# Everything of one case runs at once, on the same traffic.
run_case()
{
    local fps=$1 seconds=$((READ_SECONDS + 8)) name pacers=() jobs=() kinds=() whats=() lows=() highs=() i=0
    shift
    ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 $((fps * FRAME)) "$seconds" "$FRAME" >/dev/null &
    pacers+=($!)
    # A quiet receiver: no "port unreachable" replies add upload traffic.
    ip netns exec "$NS_MON" "$pacer" 7001 "$ADDR_SND" 7001 0 "$seconds" >/dev/null &
    pacers+=($!)
    e2e_track_pid "${pacers[0]}"
    e2e_track_pid "${pacers[1]}"
    sleep 1
    while (($# >= 5)); do
        name=$artifacts/$fps-$i
        if [[ "$1" == window ]]; then
            mkdir -p "$work/runtime-$fps-$i"
            chmod 700 "$work/runtime-$fps-$i"
            ip netns exec "$NS_MON" env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$work/runtime-$fps-$i" \
                dbus-run-session -- bash "${BASH_SOURCE[0]}" --read-window "$kuvell" "$label" "$5" \
                "$name.kuvell.log" "$DISPLAY" >"$name.readings" 2>"$name.err" &
        else
            # shellcheck disable=SC2086 # the options are words
            ip netns exec "$NS_MON" "$ifstat" --watch --count "$IFSTAT_LINES" $5 >"$name.readings" 2>"$name.err" &
        fi
        jobs+=($!)
        e2e_track_pid $!
        kinds+=("$1") whats+=("$2") lows+=("$3") highs+=("$4")
        shift 5
        i=$((i + 1))
    done
    for i in "${!jobs[@]}"; do
        name=$artifacts/$fps-$i
        if ! wait "${jobs[$i]}"; then
            problems+=("${whats[$i]}: the ${kinds[$i]} run failed: $(tail -n 3 "$name.err" "$name.readings")")
        else
            judge "${whats[$i]}" "${lows[$i]}" "${highs[$i]}" <"$name.readings"
        fi
        e2e_untrack_pid "${jobs[$i]}"
        echo "--- $fps frames/s, ${kinds[$i]}: ${whats[$i]}"
        # A window is read four times a tick: one line a second is enough to show.
        grep -E "$RATE_LINE" "$name.readings" | awk -v step="$([[ "${kinds[$i]}" == window ]] && echo 4 || echo 1)" \
            '{ line[NR] = $0 } END { for (i = 1; i <= NR; i += step) print line[i] }'
    done
    # The next case sends on the same ports.
    kill -TERM "${pacers[@]}" 2>/dev/null || true
    wait "${pacers[@]}" || true
    e2e_untrack_pid "${pacers[0]}"
    e2e_untrack_pid "${pacers[1]}"
}

e2e_start_xvfb
default_store=$(store default "[options]" "installdate=then")
chosen_store=$(store chosen "[options]" "interface=$IF_MON")
limit_store=$(store limit "[options]" "interface=$IF_MON" "jumplimit=$FAST_LIMIT")

run_case "$SLOW_FRAMES" \
    window "window, no setting" 0 0 "$default_store" \
    window "window, interface=$IF_MON" 8.9 11.1 "$chosen_store" \
    ifstat "ifstat, no option" 0 0 "" \
    ifstat "ifstat --interface $IF_MON" 8.9 11.1 "--interface $IF_MON"
run_case "$FAST_FRAMES" \
    window "window, interface=$IF_MON at 1000 frames/s" 0 0 "$chosen_store" \
    window "window, interface=$IF_MON jumplimit=$FAST_LIMIT" 900 1100 "$limit_store" \
    ifstat "ifstat --interface $IF_MON at 1000 frames/s" 0 0 "--interface $IF_MON" \
    ifstat "ifstat --interface $IF_MON --jump-limit $FAST_LIMIT" 900 1100 \
    "--interface $IF_MON --jump-limit $FAST_LIMIT"

# Kuvell never writes the two keys: the stores still read as they were written.
grep -qx "interface=$IF_MON" "$limit_store/kuvell/kuvell.ini" && grep -qx "jumplimit=$FAST_LIMIT" "$limit_store/kuvell/kuvell.ini" ||
    problems+=("the store with the two keys changed: $(cat "$limit_store/kuvell/kuvell.ini")")
! grep -qE '^(interface|jumplimit)=' "$default_store/kuvell/kuvell.ini" ||
    problems+=("a store without the keys gained them")

((${#problems[@]} == 0)) || e2e_fail "$(printf '\n  %s' "${problems[@]}")"
echo "PASS: without a choice the idle pair is measured (0); interface= measures the chosen veth" \
    "(10 kb/s), and jumplimit= lets 1000 kb/s count, in the window and in kuvell-ifstat"
