#!/usr/bin/env bash
# Runs the band benchmark under 64-bit Wine on a private X server, in a Wine prefix of its own
# in the build tree, and writes the results table to <build>/x86_64/bench-results.md.
#   --update-readme  then put the table between the bench markers of README.md
#   --no-run         skip building and measuring; use the results of the last run
# Further arguments go to BandBench (e.g. /reps 500). BUILD_DIR overrides the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
results=$build/x86_64/bench-results.md
update_readme=false
run=true
bench_args=()
for argument in "$@"; do
  case $argument in
    --update-readme) update_readme=true ;;
    --no-run) run=false ;;
    *) bench_args+=("$argument") ;;
  esac
done

if $run; then
  if [ -f "$build/x86_64/build.ninja" ] && [ -f "$build/i686/build.ninja" ]; then
    cmake --build "$build/i686" -- -j2
    cmake --build "$build/x86_64" --target BandBench -- -j2
  else
    BUILD_DIR=$build "$root/scripts/build.sh"
  fi
  bin=$build/x86_64/bin
  export WINEPREFIX=$build/x86_64/bench-prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export BENCH_BIN=$bin BENCH_RESULTS=$results BENCH_I686_DLL=$build/i686/bin/Strappa.dll
  # The prefix's wineserver must not outlive the X server it was started with.
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    set -u
    wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64
    if [ ! -f "$WINEPREFIX/.strappa-ready" ]; then
      rm -rf "$WINEPREFIX"
      "$wine" wineboot -i </dev/null >/dev/null 2>&1
      # No window manager on Xvfb: unmanaged windows are destroyed at once.
      "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f </dev/null >/dev/null 2>&1
      cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
      "$wineserver" -w
      touch "$WINEPREFIX/.strappa-ready"
    fi
    "$wineserver" -p60 </dev/null >/dev/null 2>&1
    winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d "\r"; }
    "$wine" regsvr32 /s "$(winpath "$BENCH_BIN/Strappa.dll")" </dev/null >/dev/null 2>&1
    # The settings key without values: every setting takes its default.
    "$wine" reg delete "HKCU\\Software\\Vantorel" /f </dev/null >/dev/null 2>&1
    "$wine" reg add "HKCU\\Software\\Vantorel\\Strappa Plugin" /f </dev/null >/dev/null 2>&1
    "$wine" "$BENCH_BIN/BandBench.exe" /out "$(winpath "$BENCH_RESULTS")" \
      /dll64 "$(winpath "$BENCH_BIN/Strappa.dll")" /dll32 "$(winpath "$BENCH_I686_DLL")" "$@" \
      </dev/null
    status=$?
    "$wineserver" -k 2>/dev/null
    exit $status' bench "${bench_args[@]+"${bench_args[@]}"}"

  # What the DLLs would weigh without the symbols and debug information the build keeps.
  stripped=()
  for arch in x86_64 i686; do
    dll=$build/$arch/bin/Strappa.dll
    [ -f "$dll" ] || continue
    copy=$(mktemp)
    "$arch-w64-mingw32-strip" -o "$copy" "$dll"
    stripped+=("$arch $(stat -c %s "$copy") bytes")
    rm -f "$copy"
  done
  if [ ${#stripped[@]} -gt 0 ]; then
    joined=$(printf '%s, ' "${stripped[@]}")
    echo "- Strappa.dll stripped of symbols and debug information: ${joined%, }." >> "$results"
  fi
fi

if $update_readme; then
  [ -f "$results" ] || { echo "bench.sh: no results at $results" >&2; exit 1; }
  readme=$root/README.md
  if ! grep -q '^<!-- bench:begin -->$' "$readme" || ! grep -q '^<!-- bench:end -->$' "$readme"; then
    printf '\n## Performance\n\n<!-- bench:begin -->\n<!-- bench:end -->\n' >> "$readme"
  fi
  python3 - "$readme" "$results" <<'PY'
import sys
readme_path, results_path = sys.argv[1], sys.argv[2]
with open(readme_path, encoding="utf-8") as f:
    text = f.read()
with open(results_path, encoding="utf-8") as f:
    table = f.read().strip("\n")
begin, end = "<!-- bench:begin -->\n", "<!-- bench:end -->"
start = text.index(begin) + len(begin)
stop = text.index(end, start)
with open(readme_path, "w", encoding="utf-8") as f:
    f.write(text[:start] + table + "\n" + text[stop:])
PY
  echo "README.md: bench table updated"
fi
