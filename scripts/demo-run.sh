#!/usr/bin/env bash
# Shows the band at work against the player simulator, in a private Wine prefix of the build.
#
#   demo-run.sh <x86_64 build folder> [--headless]
#
# With a display (DISPLAY set, no --headless) the band host and a playing simulator stay up
# until the host window is closed. Headless (no DISPLAY, or --headless) a fixed script runs on
# a private Xvfb, or on the DISPLAY given with --headless: Play and Next pressed with the real
# pointer, Next sent through Sendrel, a tooltip shown, a screenshot taken, the player closed
# from the band and started again by the band's Play button. Everything the simulator and the
# script do is logged, in order, to <build>/demo/demo.log and shown as it happens.
set -euo pipefail

usage() { echo "usage: $0 <x86_64 build folder> [--headless]" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 2 ] || usage
build=$(cd "$1" && pwd)
headless=0
case "${2:-}" in
  --headless) headless=1 ;;
  "") ;;
  *) usage ;;
esac

if [ -z "${DISPLAY:-}" ]; then
  [ -z "${STRAPPA_DEMO_ON_XVFB:-}" ] || { echo "demo: no display even on Xvfb" >&2; exit 1; }
  STRAPPA_DEMO_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    "$0" "$build" --headless
fi

bin=$build/bin
out=$build/demo
log=$out/demo.log
shot=$out/shot.png
for program in Strappa.dll BandHost.exe PlayerSimulator.exe PointerScript.exe Sendrel.exe; do
  [ -f "$bin/$program" ] || { echo "demo: $bin/$program is missing; build first" >&2; exit 1; }
done

export WINEPREFIX=$build/demo-prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

windows_path() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
quiet() { "$wine" "$@" </dev/null >/dev/null 2>&1; }
note() { echo "demo: $*" >>"$log"; }
fail() {
  note "FAILED: $*"
  xwd -root -silent 2>/dev/null | convert xwd:- "$out/failure.png" 2>/dev/null \
    && note "screen at the failure: $out/failure.png"
  sleep 0.3
  echo "demo: FAILED: $*" >&2
  exit 1
}
pointer() { "$wine" "$bin/PointerScript.exe" "$@" </dev/null; }

# Waits until the log holds at least `count` lines matching `pattern`.
wait_for() {
  local pattern=$1 count=$2 seconds=$3
  local deadline=$((SECONDS + seconds))
  while [ "$(grep -c -E -- "$pattern" "$log" || true)" -lt "$count" ]; do
    [ $SECONDS -lt $deadline ] || fail "no \"$pattern\" in the log after $seconds s"
    sleep 0.2
  done
}

mkdir -p "$out"
: >"$log"
rm -f "$shot" "$out/failure.png"

# A prefix of its own, made once, set up like the test prefix (no window manager, fonts).
(
  flock 9
  if [ ! -f "$WINEPREFIX/.strappa-ready" ]; then
    echo "demo: making the Wine prefix $WINEPREFIX (a few seconds, once)"
    rm -rf "$WINEPREFIX"
    quiet wineboot -i
    quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$wineserver" -w
    touch "$WINEPREFIX/.strappa-ready"
  fi
) 9>"$WINEPREFIX.lock"

# A server left from an interrupted run may belong to another display: start afresh.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p60 </dev/null >/dev/null 2>&1

tail_pid=""
host_pid=""
cleanup() {
  set +e
  "$wineserver" -k 2>/dev/null
  [ -z "$host_pid" ] || wait "$host_pid" 2>/dev/null
  sleep 0.3
  [ -z "$tail_pid" ] || kill "$tail_pid" 2>/dev/null
}
trap cleanup EXIT
tail -n +1 -f "$log" &
tail_pid=$!

simulator=$(windows_path "$bin/PlayerSimulator.exe")
windows_log=$(windows_path "$log")
player_command="\"$simulator\" /play /log \"$windows_log\""
shortcut='HKCU\Software\Vantorel\Sendrel\Shortcuts\DemoNextTrack'

note "registering $(windows_path "$bin/Strappa.dll")"
quiet regsvr32 /s "$(windows_path "$bin/Strappa.dll")" || fail "regsvr32 could not register the band"
quiet reg delete 'HKCU\Software\Vantorel' /f || true
quiet reg add 'HKCU\Software\Vantorel\Strappa Plugin' /v Player /t REG_SZ /d "$player_command" /f \
  || fail "could not write the Player value"
quiet reg add "$shortcut" /v Class /t REG_SZ /d StrappaPlayerSimulator /f
quiet reg add "$shortcut" /v RegisteredMessage /t REG_SZ /d MsgTaskIconNotify /f
quiet reg add "$shortcut" /v WPARAM /t REG_DWORD /d 104 /f
quiet reg add "$shortcut" /v LPARAM /t REG_DWORD /d 513 /f
stored=$("$wine" reg query 'HKCU\Software\Vantorel\Strappa Plugin' /v Player </dev/null 2>/dev/null \
  | tr -d '\r' | sed -n 's/^ *Player *REG_SZ *//p')
[ "$stored" = "$player_command" ] || fail "the Player value reads back as [$stored]"
note "Player command line: $player_command"
note "Sendrel shortcut DemoNextTrack: class StrappaPlayerSimulator, MsgTaskIconNotify 104, 513"

note "starting the band host"
"$wine" "$bin/BandHost.exe" </dev/null >"$out/host.log" 2>&1 &
host_pid=$!
pointer wait-band 20000 >/dev/null || { cat "$out/host.log" >&2; fail "the band did not appear"; }

if [ $headless -eq 0 ]; then
  note "starting the player simulator, playing"
  "$wine" "$bin/PlayerSimulator.exe" /play /log "$windows_log" </dev/null >/dev/null 2>&1 &
  note "press the band's buttons; to skip a track from outside the player, run:"
  note "  WINEPREFIX=$WINEPREFIX WINEDEBUG=-all $wine $bin/Sendrel.exe /s DemoNextTrack"
  note "close the band host window to end the demo"
  set +e
  wait "$host_pid"
  status=$?
  set -e
  host_pid=""
  note "band host closed (exit code $status)"
  pointer close-player >/dev/null 2>&1 || true
  sleep 1
  exit 0
fi

note "starting the player simulator, paused"
"$wine" "$bin/PlayerSimulator.exe" /log "$windows_log" </dev/null >/dev/null 2>&1 &
wait_for 'band window found' 1 15
pointer away >/dev/null

note "pressing Play with the pointer"
pointer click 1 >/dev/null || fail "the pointer could not press Play"
wait_for '^simulator.*command 1030 ' 1 5
note "playing for three seconds"
sleep 3

note "pressing Next Track with the pointer"
pointer click 2 >/dev/null || fail "the pointer could not press Next Track"
wait_for '^simulator.*command 104 ' 1 5

note "Sendrel /s DemoNextTrack"
"$wine" "$bin/Sendrel.exe" /s DemoNextTrack </dev/null >/dev/null 2>&1
wait_for '^simulator.*command 104 ' 2 5

note "hovering Next Track for its tooltip"
pointer away hover 2 wait-tooltip 5000 sleep 300 >/dev/null || fail "no tooltip over Next Track"
crop=$(pointer crop | tr -d '\r' | sed -n 's/^crop //p')
[ -n "$crop" ] || fail "could not find the host window on screen"
xwd -root -silent | convert xwd:- -crop "$crop" +repage "$shot" || fail "no screenshot"
note "screenshot of the host window and the tooltip: $shot ($crop)"

note "pressing Exit with the pointer: the simulator closes and tells the band"
pointer away click 7 >/dev/null || fail "the pointer could not press Exit"
wait_for '^simulator.*exit: ' 1 5
grep -q 'exit: closed record sent' "$log" || fail "the simulator could not send the closed record"

note "pressing Play with the pointer: the band starts the player from its Player command line"
pointer click 1 >/dev/null || fail "the pointer could not press Play"
wait_for '^simulator.*started: ' 2 15
wait_for 'band window found' 2 10
sleep 2

note "closing the simulator and the band host"
pointer close-player >/dev/null || fail "the restarted simulator has no window"
wait_for '^simulator.*exit: ' 2 5
pointer close-host >/dev/null || true
for _ in $(seq 50); do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.1; done

note "commands the simulator received:"
grep -E '^simulator.*(command [0-9]+|seek [0-9]+)' "$log" | sed 's/^/demo:   /' >>"$log" || true
note "done"
exit 0
