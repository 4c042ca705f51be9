#!/usr/bin/env bash
# at_dpi.sh DPI COMMAND...: runs COMMAND with Wine's display at DPI dots per inch (96 is 100 %,
# 144 is 150 %), then puts 96 back, also when COMMAND fails; COMMAND finds the DPI it was given
# in TESSERA_DPI. Wine takes the DPI (HKCU\Control Panel\Desktop, LogPixels) when its server and
# desktop start, so both are restarted around each change. The prefix (WINEPREFIX) and the
# display are the caller's, as for every Windows test; nothing else may use the prefix meanwhile.
set -uo pipefail
dpi=$1
shift
WINE=${WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" TESSERA_DPI=$dpi

set_dpi() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1 ||
    return 1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  # As tools/wine-env leaves the prefix: one lasting server, and Wine's background programs
  # started now with nothing for output (started by COMMAND, they would hold its output open).
  wineserver -p >/dev/null 2>&1
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
  return 0
}

trap 'set_dpi 96' EXIT
set_dpi "$dpi" || { echo "at_dpi: could not set the DPI to $dpi" >&2; exit 1; }
"$@"
