#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures Kuvell's CPU time and peak memory with traffic flowing, side by side
# with two desktop monitors from Debian that draw network graphs (conky and
# gkrellm, run only as black boxes for comparison), and writes the results into
# docs/performance.md.
#
#   sudo bash bench/resource-use.sh [path/to/kuvell]        (default build/frontends/qt/kuvell)
#   env: MEASURE_SECONDS (120), WARMUP_SECONDS (10)
#
# All three run under one private Xvfb inside a network namespace whose only
# link is a veth to a sender namespace; Kuvell measures the last interface with
# a hardware address, which there is that veth. No traffic leaves the two
# namespaces. Needs root for the namespaces; installs conky and gkrellm.
set -euo pipefail
export LC_ALL=C
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo/tests/e2e/lib.sh"
# A benchmark has nothing to skip: whatever it lacks is an error.
e2e_unavailable()
{
    e2e_fail "$1"
}

kuvell=$(realpath -m "${1:-$repo/build/frontends/qt/kuvell}")
measure_seconds=${MEASURE_SECONDS:-120}
warmup_seconds=${WARMUP_SECONDS:-10}
report=$repo/docs/performance.md
readonly DOWNLOAD_RATE=60000 UPLOAD_RATE=20000 # bytes per second on the veth
pacer=$repo/build/tests/e2e/kuvell_e2e_pacer
[[ -x "$kuvell" ]] || e2e_fail "no Kuvell at $kuvell (build it first: bash scripts/build.sh build)"
[[ -x "$pacer" ]] || pacer=$(dirname "$(dirname "$kuvell")")/tests/e2e/kuvell_e2e_pacer
[[ -x "$pacer" ]] || e2e_fail "no kuvell_e2e_pacer next to Kuvell's build"
[[ "$(id -u)" -eq 0 ]] || e2e_fail "run as root: the traffic must stay inside network namespaces"

install_peers()
{
    local missing=() package
    for package in conky-std gkrellm xvfb xdotool; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# cpu_ticks <pid>: user + system time of all the process's threads, in clock ticks.
cpu_ticks()
{
    local stat
    read -r stat <"/proc/$1/stat"
    stat=${stat##*) } # the name in parentheses may hold blanks
    # shellcheck disable=SC2086
    set -- $stat
    echo $((${12} + ${13}))
}

# cpu_nanoseconds <pid>: time on a CPU of the process's live threads, from the
# scheduler's own accounting, finer than the clock ticks of /proc/<pid>/stat.
cpu_nanoseconds()
{
    cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'
}

# rollup_kb <pid> <field...>: the sum of those fields of /proc/<pid>/smaps_rollup, in kB.
rollup_kb()
{
    local pid=$1
    shift
    awk -v fields=" $* " 'index(fields, " " substr($1, 1, length($1) - 1) " ") { sum += $2 } END { print sum + 0 }' \
        "/proc/$pid/smaps_rollup"
}

megabytes()
{
    awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'
}

status_kb()
{
    awk -v field="$2:" '$1 == field { print $2 }' "/proc/$1/status"
}

write_conky_config()
{
    cat >"$1" <<EOF
conky.config = {
    out_to_x = true,
    out_to_console = false,
    own_window = true,
    own_window_type = 'normal',
    own_window_title = 'conky',
    alignment = 'top_left',
    gap_x = 330,
    gap_y = 0,
    minimum_width = 310,
    double_buffer = true,
    update_interval = 1,
    background = false,
}
conky.text = [[
DL \${downspeed $IF_MON}   UL \${upspeed $IF_MON}
\${downspeedgraph $IF_MON 60,300}
\${upspeedgraph $IF_MON 60,300}
]]
EOF
}

# start_monitor <name> <command...>: runs it in the monitor namespace with a home of its own.
declare -A pid_of
start_monitor()
{
    local name=$1 home
    shift
    e2e_tempdir home
    # gkrellm greets a home without its configuration with a dialog; its defaults are what we want.
    mkdir -p "$home/.gkrellm2"
    touch "$home/.gkrellm2/user-config"
    ip netns exec "$NS_MON" env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY HOME="$home" \
        XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb \
        "$@" >"$logs/$name.log" 2>&1 &
    pid_of[$name]=$!
    e2e_track_pid $!
}

install_peers
e2e_netns_pair
e2e_start_xvfb
e2e_tempdir logs
e2e_tempdir conky_dir
write_conky_config "$conky_dir/conky.conf"

traffic_seconds=$((warmup_seconds + measure_seconds + 30))
ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 "$DOWNLOAD_RATE" "$traffic_seconds" >/dev/null &
e2e_track_pid $!
ip netns exec "$NS_MON" "$pacer" 7001 "$ADDR_SND" 7001 "$UPLOAD_RATE" "$traffic_seconds" >/dev/null &
e2e_track_pid $!

monitors=(kuvell conky gkrellm)
start_monitor kuvell "$kuvell"
start_monitor conky conky -c "$conky_dir/conky.conf"
start_monitor gkrellm gkrellm -g +700+0
echo "warming up for ${warmup_seconds}s with traffic on $IF_MON, display $DISPLAY"
sleep "$warmup_seconds"

declare -A start_ticks start_ns
for name in "${monitors[@]}"; do
    kill -0 "${pid_of[$name]}" 2>/dev/null || e2e_fail "$name ended early: $(cat "$logs/$name.log")"
    start_ticks[$name]=$(cpu_ticks "${pid_of[$name]}")
    start_ns[$name]=$(cpu_nanoseconds "${pid_of[$name]}")
done
rx_before=$(e2e_counter "$NS_MON" "$IF_MON" rx_bytes)
echo "measuring for ${measure_seconds}s"
sleep "$measure_seconds"
rx_after=$(e2e_counter "$NS_MON" "$IF_MON" rx_bytes)
screenshot=${TMPDIR:-/tmp}/kuvell-resource-use.png
e2e_screenshot "$screenshot"

hz=$(getconf CLK_TCK)
rows=""
for name in "${monitors[@]}"; do
    pid=${pid_of[$name]}
    kill -0 "$pid" 2>/dev/null || e2e_fail "$name ended during the measurement: $(cat "$logs/$name.log")"
    seconds=$(awk -v t=$(($(cpu_ticks "$pid") - start_ticks[$name])) -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }')
    milliseconds=$((($(cpu_nanoseconds "$pid") - start_ns[$name]) / 1000000))
    hwm=$(megabytes "$(status_kb "$pid" VmHWM)")
    rss=$(megabytes "$(status_kb "$pid" VmRSS)")
    # Heap, data and relocations: what no other process shares, swapped out or not.
    dirty=$(megabytes "$(rollup_kb "$pid" Private_Dirty Swap)")
    pss=$(megabytes "$(rollup_kb "$pid" Pss)")
    version=$name
    [[ "$name" == kuvell ]] || version="$name $(dpkg-query -W -f='${Version}' "$([[ $name == conky ]] && echo conky-std || echo gkrellm)")"
    rows+="| $version | $seconds | $milliseconds | $hwm | $rss | $pss | $dirty |"$'\n'
    echo "$name: ${seconds}s CPU (${milliseconds} ms scheduled) in ${measure_seconds}s, peak RSS ${hwm} MB," \
        "RSS now ${rss} MB, PSS ${pss} MB, private dirty ${dirty} MB"
done

received_rate=$(((rx_after - rx_before) / measure_seconds))
cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
qt_version=$(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null || echo unknown)
block=$(
    cat <<EOF
<!-- resource-use.sh: begin (this block is rewritten by each run) -->
Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($cpu_model), kernel $(uname -r), Qt $qt_version,
Xvfb 1280x800x24 without a window manager; ${received_rate} bytes/s received and about
${UPLOAD_RATE} bytes/s sent on the measured veth; CPU counted over ${measure_seconds} s after a
${warmup_seconds} s warm-up.

| Program | CPU seconds in ${measure_seconds} s (utime + stime) | CPU ms (schedstat, every thread) | Peak RSS (VmHWM), MB | RSS at the end, MB | PSS, MB | Private dirty + swap, MB |
|---|---|---|---|---|---|---|
${rows}
Command: \`sudo bash bench/resource-use.sh ${1:-}\`
<!-- resource-use.sh: end -->
EOF
)
mkdir -p "$(dirname "$report")"
if [[ -f "$report" ]] && grep -q '<!-- resource-use.sh: begin' "$report"; then
    awk -v block="$block" '
        /<!-- resource-use.sh: begin/ { print block; skipping = 1; next }
        /<!-- resource-use.sh: end/ { skipping = 0; next }
        !skipping { print }' "$report" >"$report.new"
    mv "$report.new" "$report"
else
    printf '# Resource use\n\n%s\n' "$block" >>"$report"
fi
echo "written to $report; the screen at the end: $screenshot"
