# SPDX-License-Identifier: MIT
# Helpers shared by the end-to-end tests and bench/resource-use.sh: network
# namespaces joined by a veth pair, a private X server, window lookup, and a
# clean-up that always runs. Source it; it sets an EXIT trap.
#
# Containment: traffic only ever flows between the two namespaces made here
# (link-local addresses, no routes out) or over a namespace's own loopback.

source "$(dirname "${BASH_SOURCE[0]}")/marked_processes.sh"

E2E_SKIP=77
# Whatever this test starts carries the mark, so the clean-up ends it too
# when it has left its parent.
export KUVELL_E2E_RUN="$$-$SRANDOM"
E2E_PIDS=()
E2E_NAMESPACES=()
E2E_DIRS=()

e2e_fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

# Where the kernel or the machine cannot run a test: a skip outside CI, a
# failure in CI, where everything the test needs is installed and root is given.
e2e_unavailable()
{
    if [[ "${CI:-}" == true ]]; then
        e2e_fail "$1 (in CI this test must run, so this counts as a failure)"
    fi
    echo "SKIP: $1" >&2
    exit "$E2E_SKIP"
}

e2e_require_program()
{
    local program=$1 package=$2
    command -v "$program" >/dev/null 2>&1 || e2e_unavailable "$program is not installed (Debian package $package)"
}

# The build registers every test even before a binary exists; a missing binary is a failure.
e2e_require_binary()
{
    [[ -x "$1" ]] || e2e_fail "$1 was not built"
}

e2e_cleanup()
{
    local pid ns dir
    for pid in "${E2E_PIDS[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    done
    end_marked_processes "KUVELL_E2E_RUN=$KUVELL_E2E_RUN" || true
    for ns in "${E2E_NAMESPACES[@]}"; do
        ip netns delete "$ns" 2>/dev/null || true
    done
    for dir in "${E2E_DIRS[@]}"; do
        rm -rf -- "$dir"
    done
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM HUP

e2e_track_pid()
{
    E2E_PIDS+=("$1")
}

# Once a process has been waited for, its id may be reused: never signal it again.
e2e_untrack_pid()
{
    local kept=() pid
    for pid in "${E2E_PIDS[@]}"; do
        [[ "$pid" == "$1" ]] || kept+=("$pid")
    done
    E2E_PIDS=("${kept[@]}")
}

# e2e_tempdir <variable>: a fresh folder, removed at exit, named in the variable.
e2e_tempdir()
{
    local made
    made=$(mktemp -d "${TMPDIR:-/tmp}/kuvell-e2e.XXXXXX")
    E2E_DIRS+=("$made")
    printf -v "$1" '%s' "$made"
}

# e2e_wait_until <seconds> <command...>: polls the command every 0.1 s.
e2e_wait_until()
{
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# Creates two namespaces joined by a veth pair and sets NS_MON, NS_SND (the
# namespaces), IF_MON, IF_SND (their veth ends) and ADDR_MON, ADDR_SND.
# IPv6 is off in both so that no neighbour discovery adds unplanned bytes.
# Returns 1 when the kernel refuses namespaces (no root, no CAP_SYS_ADMIN).
e2e_try_netns_pair()
{
    command -v ip >/dev/null 2>&1 || return 1
    local tag="kv$$"
    NS_MON="${tag}mon" NS_SND="${tag}snd" IF_MON="${tag}m" IF_SND="${tag}s"
    ADDR_MON=169.254.77.1 ADDR_SND=169.254.77.2
    ip netns add "$NS_MON" 2>/dev/null || return 1
    E2E_NAMESPACES+=("$NS_MON")
    ip netns add "$NS_SND" || e2e_fail "could create $NS_MON but not $NS_SND"
    E2E_NAMESPACES+=("$NS_SND")
    local ns
    for ns in "$NS_MON" "$NS_SND"; do
        ip netns exec "$ns" sh -c 'for f in /proc/sys/net/ipv6/conf/default/disable_ipv6 \
            /proc/sys/net/ipv6/conf/all/disable_ipv6; do [ -w "$f" ] && echo 1 > "$f"; done; true'
        ip -n "$ns" link set lo up
    done
    ip link add "$IF_MON" netns "$NS_MON" type veth peer name "$IF_SND" netns "$NS_SND" ||
        e2e_fail "the kernel refuses a veth pair between $NS_MON and $NS_SND"
    ip -n "$NS_MON" addr add "$ADDR_MON/30" dev "$IF_MON"
    ip -n "$NS_SND" addr add "$ADDR_SND/30" dev "$IF_SND"
    ip -n "$NS_MON" link set "$IF_MON" up
    ip -n "$NS_SND" link set "$IF_SND" up
    for ns in "$NS_MON" "$NS_SND"; do
        [[ -z "$(ip -n "$ns" route show default)" ]] || e2e_fail "namespace $ns has a default route"
        [[ "$(ip -n "$ns" -o link show | wc -l)" -eq 2 ]] || e2e_fail "namespace $ns has other links"
    done
}

e2e_netns_pair()
{
    e2e_try_netns_pair || e2e_unavailable "the kernel refuses to create network namespaces (run as root)"
}

# e2e_counter <namespace> <interface> <rx_bytes|tx_bytes>: the kernel's count, read inside the namespace.
e2e_counter()
{
    ip netns exec "$1" cat "/sys/class/net/$2/statistics/$3"
}

# Starts a private Xvfb on a display number it picks itself; exports DISPLAY.
e2e_start_xvfb()
{
    e2e_require_program Xvfb xvfb
    local dir
    e2e_tempdir dir
    # -noreset: a server reset after its last client leaves would refuse the next one for a moment.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
    e2e_track_pid $!
    e2e_wait_until 15 test -s "$dir/display" || e2e_fail "Xvfb did not start: $(cat "$dir/xvfb.log")"
    DISPLAY=":$(head -n1 "$dir/display")"
    export DISPLAY
    # The number is written once the server listens; a server that a lingering
    # one of an earlier test got in the way of is caught here, with its log.
    e2e_wait_until 15 e2e_x_answers || e2e_fail "Xvfb on $DISPLAY does not answer: $(cat "$dir/xvfb.log")"
}

# e2e_x_answers [command prefix...]: the X server on DISPLAY answers a client
# run through the prefix (for example "ip netns exec <namespace>").
e2e_x_answers()
{
    "$@" xdpyinfo >/dev/null 2>&1
}

# e2e_visible_windows <pid>: the ids of the mapped windows the process owns.
e2e_visible_windows()
{
    xdotool search --onlyvisible --pid "$1" 2>/dev/null || true
}

# e2e_window_named <pid> <title>: the first mapped window of the process with that title.
e2e_window_named()
{
    local window
    for window in $(e2e_visible_windows "$1"); do
        if [[ "$(xdotool getwindowname "$window" 2>/dev/null)" == "$2" ]]; then
            echo "$window"
            return 0
        fi
    done
    return 1
}

# e2e_geometry <window>: "x y width height" in root coordinates.
e2e_geometry()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
                            /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
                            END { print x, y, w, h }'
}

# e2e_screenshot <file>: keeps what the screen showed, for a failure's report.
e2e_screenshot()
{
    command -v import >/dev/null 2>&1 && import -window root "$1" 2>/dev/null || true
}

# e2e_other_window <pid> <window>: another mapped window of the process (a menu, a
# dialog or a message box), if it has one.
e2e_other_window()
{
    local found
    found=$(e2e_visible_windows "$1" | grep -vx "$2" | head -n1)
    [[ -n "$found" ]] && echo "$found"
}

# e2e_pick_menu_item <pid> <main window> first|last [screenshot]: opens the popup
# menu with a right click on the graph and picks its first or last item.
e2e_pick_menu_item()
{
    local pid=$1 main=$2 item=$3 shot=${4:-} x y w h popup
    read -r x y w h < <(e2e_geometry "$main")
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 3)) click 3
    if e2e_wait_until 10 e2e_other_window "$pid" "$main" >/dev/null; then
        popup=$(e2e_other_window "$pid" "$main")
        [[ -n "$shot" ]] && e2e_screenshot "$shot"
        # A menu may be mapped before it has its final size: click once it holds still.
        local now before=""
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            now=$(e2e_geometry "$popup")
            [[ "$now" == "$before" ]] && break
            before=$now
            sleep 0.1
        done
        read -r x y w h <<<"$now"
        if [[ "$item" == first ]]; then
            xdotool mousemove --sync $((x + w / 2)) $((y + h / 4)) click 1
        else
            xdotool mousemove --sync $((x + w / 2)) $((y + h * 3 / 4)) click 1
        fi
    elif [[ "$item" == first ]]; then
        # Without a separate popup window, keyboard navigation still reaches the items.
        xdotool key Down Return
    else
        xdotool key Up Return
    fi
}

# e2e_answer_message <pid> <main window> [screenshot]: waits for a message box
# of the process and presses its default button. Fails when none appears.
e2e_answer_message()
{
    local pid=$1 main=$2 shot=${3:-} box
    e2e_wait_until 20 e2e_other_window "$pid" "$main" >/dev/null || return 1
    box=$(e2e_other_window "$pid" "$main")
    [[ -n "$shot" ]] && e2e_screenshot "$shot"
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
}
