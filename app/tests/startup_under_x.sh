#!/bin/sh
# The desktop program under a virtual X server: the whole start-up on the demo card, a quit
# as soon as it is up, the shutdown. Checks the exit status, the order of the start-up's
# trace lines and the tuning kept at shutdown.
#   startup_under_x.sh KESTREL_EXECUTABLE WORK_FOLDER
set -eu
kestrel=$1
work=$2
if ! command -v xvfb-run >/dev/null; then
    echo "xvfb-run is not installed: skipped"
    exit 77
fi
rm -rf "$work"
mkdir -p "$work"
ini=$work/T.ini
# Qt keeps a group named General under [%General]; [General] holds the keys of no group.
printf '[%%General]\nloglevel=2\n' >"$ini"
trace=$(dirname "$kestrel")/kestrel.txt
rm -f "$trace"

KESTREL_QUIT_AFTER_STARTUP=1 xvfb-run -a "$kestrel" --card demo --settings "$ini" 2>"$work/stderr" || {
    echo "kestrel exited with status $?"
    cat "$work/stderr"
    exit 1
}

previous=0
for line in 'build=' 'CSatelliteList::ParseList(' 'CKestrel2App::GetTransonderWnd()' \
    'could not find window - creating new'; do
    at=$(grep -nF "$line" "$trace" | head -n 1 | cut -d: -f1)
    if [ -z "$at" ] || [ "$at" -le "$previous" ]; then
        echo "trace line '$line' missing or out of order in $trace:"
        cat "$trace"
        exit 1
    fi
    previous=$at
done

grep -qx 'FREQUENCY=12322000' "$ini" || {
    echo "FREQUENCY=12322000 not kept in $ini:"
    cat "$ini"
    exit 1
}
