#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A link to the victim's login file, planted by another local user in a
# settings folder left mode 777. Kuvell, run as the victim with its real window
# under a private Xvfb, must leave that file as it was at start-up and at quit,
# run on its defaults and name the store and the reason.
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
((EUID == 0)) || e2e_unavailable "only root can make the two local users"
artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/planted-link
mkdir -p "$artifacts"
e2e_tempdir work
chmod 755 "$work"

victim=kvvictim$$ attacker=kvattack$$ users=()
remove_users()
{
    for user in "${users[@]}"; do
        pkill -KILL -u "$user" 2>/dev/null || true
        e2e_wait_until 5 eval '! pgrep -u "$user" >/dev/null' || true
        userdel "$user" || echo "could not remove the test user $user" >&2
    done
}
trap 'e2e_cleanup; remove_users' EXIT
for user in "$victim" "$attacker"; do
    useradd --no-create-home --home-dir "$work/$user" --shell /usr/sbin/nologin --user-group "$user" ||
        e2e_unavailable "useradd cannot make $user"
    users+=("$user")
    install -d -m 755 -o "$user" -g "$user" "$work/$user"
done
as() { setpriv --reuid="$1" --regid="$1" --init-groups "${@:2}"; }
as "$victim" test -x "$kuvell" || e2e_unavailable "$victim cannot reach $kuvell"

profile=$work/$victim/.profile
printf '# the victim'\''s own\nexport PATH="$HOME/bin:$PATH"\n' >"$profile"
chown "$victim:$victim" "$profile"
cp "$profile" "$artifacts/profile.before"
ini=$work/config/kuvell/kuvell.ini
install -d -m 777 -o "$victim" -g "$victim" "$work/config" "$work/config/kuvell"
install -d -m 700 -o "$victim" -g "$victim" "$work/runtime"
as "$attacker" ln -s "$profile" "$ini"
why="the folder $work/config/kuvell can be changed by every user"

fail_with_evidence()
{
    e2e_screenshot "$artifacts/screen.png"
    cat "$artifacts/kuvell.log" >&2 || true
    e2e_fail "$*"
}
untouched()
{
    cmp -s "$profile" "$artifacts/profile.before" && [[ "$(stat -c %U:%a "$profile")" == "$victim:644" ]] ||
        fail_with_evidence "$1: the victim's profile changed"
    grep -qF "$2$ini: $why" "$artifacts/kuvell.log" || fail_with_evidence "$1: the store and why were not named"
}

e2e_start_xvfb
# setpriv and env exec: the process started here is Kuvell itself.
setpriv --reuid="$victim" --regid="$victim" --init-groups env -u DBUS_SESSION_BUS_ADDRESS \
    -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/$victim" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"
e2e_wait_until 30 eval 'main_window=$(e2e_window_named "$kuvell_pid" Kuvell)' ||
    fail_with_evidence "no window within 30 s"
sleep 2 # a few ticks after the start-up write
untouched "at start-up" "cannot read "

e2e_pick_menu_item "$kuvell_pid" "$main_window" last
e2e_answer_message "$kuvell_pid" "$main_window" "$artifacts/message.png" ||
    fail_with_evidence "the quit showed no message about the refused save"
e2e_wait_until 15 eval '! kill -0 "$kuvell_pid" 2>/dev/null' || fail_with_evidence "Kuvell still runs 15 s after the quit"
status=0
wait "$kuvell_pid" || status=$?
e2e_untrack_pid "$kuvell_pid"
((status == 1)) || fail_with_evidence "Kuvell ended with status $status, expected 1 (not saved)"
untouched "at quit" " to "
[[ "$(readlink "$ini")" == "$profile" && -z "$(find "$work/config" -user "$victim" -type f)" ]] ||
    fail_with_evidence "the link was changed or Kuvell left a file in the folder"
echo "PASS: the victim's profile stayed as it was through start-up and quit; the store and why were named"
