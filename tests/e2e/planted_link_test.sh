#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A link planted by another local user in a settings folder everyone can write
# to: Kuvell, run as the victim with its real window under a private Xvfb,
# must neither read nor replace the file the link names, at start-up or at
# quit; it runs on its defaults and names the store and the reason.
#
#   planted_link_test.sh <kuvell>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

kuvell=${1:?usage: planted_link_test.sh <kuvell>}
e2e_require_binary "$kuvell"
e2e_require_program xdotool xdotool
e2e_require_program xwininfo x11-utils
e2e_require_program setpriv util-linux
e2e_require_program useradd passwd
((EUID == 0)) || e2e_unavailable "two local users can only be made by root"

artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/planted-link
mkdir -p "$artifacts"
e2e_tempdir work
chmod 755 "$work"

# Two throw-away users, removed at exit once their processes are gone.
victim=kvvictim$$ attacker=kvattack$$
made_users=()
remove_users()
{
    local user
    for user in "${made_users[@]}"; do
        pkill -KILL -u "$user" 2>/dev/null || true
        e2e_wait_until 5 eval '! pgrep -u "$user" >/dev/null' || true
        userdel "$user" || echo "could not remove the test user $user" >&2
    done
}
trap 'e2e_cleanup; remove_users' EXIT
for user in "$victim" "$attacker"; do
    useradd --no-create-home --home-dir "$work/$user" --shell /usr/sbin/nologin --user-group "$user" ||
        e2e_unavailable "useradd cannot make the user $user"
    made_users+=("$user")
    mkdir -m 755 "$work/$user"
    chown "$user:$user" "$work/$user"
done
as_user()
{
    local user=$1
    shift
    setpriv --reuid="$user" --regid="$user" --init-groups "$@"
}
as_user "$victim" test -x "$kuvell" || e2e_unavailable "$victim cannot reach $kuvell"

# The victim's login file, which the start-up write used to replace.
profile=$work/$victim/.profile
printf '# the victim'\''s own profile\nexport PATH="$HOME/bin:$PATH"\n' >"$profile"
chown "$victim:$victim" "$profile"
chmod 644 "$profile"
cp -p "$profile" "$artifacts/profile.before"

# A shared XDG_CONFIG_HOME whose kuvell folder was left mode 777.
config=$work/shared-config
ini=$config/kuvell/kuvell.ini
mkdir -p "$config/kuvell"
chown -R "$victim:$victim" "$config"
chmod 777 "$config/kuvell"
as_user "$attacker" ln -s "$profile" "$ini"
runtime=$work/runtime
mkdir -m 700 "$runtime"
chown "$victim:$victim" "$runtime"

fail_with_evidence()
{
    e2e_screenshot "$artifacts/screen.png"
    echo "--- Kuvell's output ---" >&2
    cat "$artifacts/kuvell.log" >&2 || true
    e2e_fail "$*"
}

untouched()
{
    cmp -s "$profile" "$artifacts/profile.before" || fail_with_evidence "$1: the victim's profile changed"
    [[ "$(stat -c %U:%a "$profile")" == "$victim:644" ]] ||
        fail_with_evidence "$1: the profile's owner or mode changed"
}

e2e_start_xvfb
# setpriv and env exec, so the process started here is Kuvell itself.
setpriv --reuid="$victim" --regid="$victim" --init-groups env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    HOME="$work/$victim" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$runtime" \
    "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"

find_main_window() { main_window=$(e2e_window_named "$kuvell_pid" Kuvell); }
e2e_wait_until 15 find_main_window || fail_with_evidence "no window within 15 s"
sleep 2 # a few ticks after the start-up write
untouched "at start-up"
grep -qF "cannot read $ini: the folder $config/kuvell can be changed by every user" \
    "$artifacts/kuvell.log" || fail_with_evidence "the start-up did not name the store and why"

e2e_pick_menu_item "$kuvell_pid" "$main_window" last
e2e_answer_message "$kuvell_pid" "$main_window" "$artifacts/message.png" ||
    fail_with_evidence "the quit showed no message about the refused save"
kuvell_gone() { ! kill -0 "$kuvell_pid" 2>/dev/null; }
e2e_wait_until 10 kuvell_gone || fail_with_evidence "Kuvell still runs after the message"
status=0
wait "$kuvell_pid" || status=$?
e2e_untrack_pid "$kuvell_pid"
((status == 1)) || fail_with_evidence "Kuvell ended with status $status, expected 1 (not saved)"
grep -qF "to $ini: the folder $config/kuvell can be changed by every user" "$artifacts/kuvell.log" ||
    fail_with_evidence "the quit did not name the store and why"

untouched "at quit"
# Nothing of Kuvell's in the folder: no lock, no temporary file, no store.
left=$(find "$config/kuvell" -mindepth 1 -user "$victim" | head -n3)
[[ -z "$left" ]] || fail_with_evidence "Kuvell left files in the folder: $left"
[[ "$(readlink "$ini")" == "$profile" ]] || fail_with_evidence "the planted link was changed"
echo "PASS: the victim's profile stayed byte for byte through start-up and quit;" \
    "the store and the reason were reported"
