# SPDX-License-Identifier: GPL-3.0-or-later
# Shell helpers shared by the end-to-end test and the whole-program benchmark.
# Source it; it defines functions only.

# Microseconds since the epoch, from the shell's own clock.
now_us() { echo "${EPOCHREALTIME//[!0-9]/}"; }

# True while the process runs (a reaped or zombie process counts as ended).
alive() {
    [[ -n $1 ]] || return 1
    local stat
    # A plain read: a process that ends between the test and the read is no error.
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}
not_alive() { ! alive "$1"; }

# Ends each of the processes still running: SIGTERM, and SIGKILL after 2 s without effect.
# Then reaps them (the caller's children).
stop_processes() {
    local pid
    for pid in "$@"; do
        if alive "$pid"; then
            kill "$pid" 2>/dev/null
            wait_for 2 not_alive "$pid" || kill -9 "$pid" 2>/dev/null
        fi
    done
    wait 2>/dev/null
}

# Waits up to $1 seconds for the command in "$2..." to succeed.
wait_for() {
    local deadline=$(($(now_us) + $1 * 1000000))
    shift
    while true; do
        "$@" && return 0
        (($(now_us) < deadline)) || return 1
        sleep 0.05
    done
}
