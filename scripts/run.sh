#!/usr/bin/env bash
# Builds the Velmora service and runs it in the foreground in run/ (a folder of its own, beside the
# sources) on a host list that watches this machine, showing events.log as it grows; the status page is
# run/index.htm. Ctrl-C stops the service cleanly. run/HostList.ini is written only when it is missing,
# so edits to it stay.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
run=$root/run

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target velmora

mkdir -p "$run"
# A velmora that runs from run/ keeps its file: the copy replaces the name, so a second run reaches
# the service's own "already running" message.
cp --remove-destination "$build/bin/velmora" "$build/bin/status1.vdr" "$build/bin/status2.vdr" "$run/"
if [ ! -f "$run/HostList.ini" ]; then
  printf '%s\r\n' \
    '[Options]' 'isEnglish=1' 'Logging=1' 'Intervall=10' 'WebStatus=1' \
    '[Hosts]' '127.0.0.1=' 'localhost=' \
    '[Enabled]' '127.0.0.1=1' 'localhost=1' \
    '[WaitForStatusChange]' '127.0.0.1=1' 'localhost=1' >"$run/HostList.ini"
fi

cd "$run"
# Shows the lines that are added to events.log. The service replaces the file at every line (and starts
# it again after 1000 lines), so the lines are counted rather than followed with tail -f.
follow_log() {
  local shown count
  shown=$( [ -f events.log ] && wc -l <events.log || echo 0)
  while :; do
    count=$( [ -f events.log ] && wc -l <events.log || echo 0)
    [ "$count" -lt "$shown" ] && shown=0
    if [ "$count" -gt "$shown" ]; then
      tail -n +"$((shown + 1))" events.log | head -n "$((count - shown))" | tr -d '\r'
      shown=$count
    fi
    sleep 0.3
  done
}

echo "run.sh: velmora runs in $run, logs to events.log, writes its status page to index.htm" \
  "(when WebStatus=1); Ctrl-C stops it." >&2
# A job started in the background of a script ignores Ctrl-C, so it still shows the stop line.
follow_log &
follower=$!
trap 'sleep 0.6; kill "$follower" 2>/dev/null || true' EXIT
./velmora
