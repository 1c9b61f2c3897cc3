#!/usr/bin/env bash
# Runs the headless demo against this build and checks, from its log, the whole round trip:
# a pointer press on Play and on Next and a Sendrel shortcut reach the player as commands, the
# player's exit tells the band, and the band's Play button then starts the player again.
set -u
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
log=$build/demo/demo.log
shot=$build/demo/shot.png

bash "$root/scripts/demo-run.sh" "$build" --headless
status=$?
[ $status -eq 0 ] || { echo "check: demo-run.sh ended with $status"; exit 1; }

# Each pattern must match a line after the line that matched the one before it.
expected=(
  '^demo: pressing Play with the pointer'
  '^simulator\[([0-9]+)\]: command 1030 \(play/pause, click 513\) -> playing track 1 '
  '^demo: pressing Next Track with the pointer'
  '^simulator\[[0-9]+\]: command 104 \(next track, click 513\) -> track 2 '
  '^demo: Sendrel /s DemoNextTrack'
  '^simulator\[[0-9]+\]: command 104 \(next track, click 513\) -> track 3 '
  '^simulator\[[0-9]+\]: command 109 \(exit, click 513\)'
  '^simulator\[[0-9]+\]: exit: closed record sent'
  '^demo: pressing Play with the pointer'
  '^simulator\[([0-9]+)\]: started: .*PlayerSimulator\.exe" /play /log '
  '^simulator\[[0-9]+\]: band window found'
)
step=0
pids=()
while IFS= read -r line && [ $step -lt ${#expected[@]} ]; do
  if [[ $line =~ ${expected[$step]} ]]; then
    [ -z "${BASH_REMATCH[1]:-}" ] || pids+=("${BASH_REMATCH[1]}")
    step=$((step + 1))
  fi
done <"$log"
if [ $step -lt ${#expected[@]} ]; then
  echo "check: the log lacks, in its order: ${expected[$step]}"
  exit 1
fi
# The player that answered Play and the one the band started afterwards are two processes.
if [ "${pids[0]}" = "${pids[1]}" ]; then
  echo "check: the player was not started again (same process ${pids[0]})"
  exit 1
fi
[ -s "$shot" ] || { echo "check: no screenshot at $shot"; exit 1; }
echo "check: demo log complete; screenshot $shot"
