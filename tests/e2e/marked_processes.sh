# SPDX-License-Identifier: MIT
# Finds and ends the processes that carry a mark in their environment. Every
# process a test run starts inherits the mark, also those that have left their
# parent (a daemon that forked, a server's helpers, a wine server), so nothing
# the run started can outlive it unnoticed. Source it.

# marked_processes <NAME=value>: sets MARKED to the ids of the live processes
# whose environment holds exactly that entry, this shell aside. Only shell
# builtins read, so the search starts no process that would carry the mark.
marked_processes()
{
    MARKED=()
    local environ pid entry
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [[ "$pid" == "$$" || "$pid" == "$BASHPID" ]] && continue
        {
            while IFS= read -r -d '' entry; do
                if [[ "$entry" == "$1" ]]; then
                    MARKED+=("$pid")
                    break
                fi
            done <"$environ"
        } 2>/dev/null || true  # a process that ended meanwhile
    done
}

# end_marked_processes <NAME=value> [grace-seconds]: asks them to end, waits
# up to the grace (2 s by default) and kills what is left; true when none was found.
end_marked_processes()
{
    local mark=$1 grace=${2:-2} waited=0
    marked_processes "$mark"
    ((${#MARKED[@]} == 0)) && return 0
    kill -TERM "${MARKED[@]}" 2>/dev/null || true
    while ((waited < grace * 10)); do
        sleep 0.1
        waited=$((waited + 1))
        marked_processes "$mark"
        ((${#MARKED[@]} == 0)) && return 1
    done
    kill -KILL "${MARKED[@]}" 2>/dev/null || true
    return 1
}
