#!/usr/bin/env bash
# The 64-bit release archive as a user gets it: unzipped into a fresh folder and started, it shows
# the splash, then works from that folder; "About..." opens the box in French.
source "$(dirname "$0")/lib.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(dirname "$(dirname "$TESSERA_EXE")")
shots="$build_dir/e2e-shots"
mkdir -p "$shots"

zip=$("$root/tools/package" --no-build --out "$E2E_DIR/dist" win64="$build_dir")
names=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
check "the archive holds the program and the read-me ($names)" test "$names" = "Tessera/LISEZMOI.txt Tessera/Tessera.exe"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$E2E_DIR/unzipped"
check "the archived program is the one built" cmp -s "$E2E_DIR/unzipped/Tessera/Tessera.exe" "$TESSERA_EXE"
mv "$E2E_DIR/unzipped/Tessera/"* "$E2E_DIR/"

"$WINE" reg delete "$RUN_KEY" /v Tessera /f >/dev/null 2>&1 || true
(cd "$E2E_DIR" && exec "$WINE" Tessera.exe) &
TESSERA_PID=$!
E2E_PIDS+=("$TESSERA_PID")
# The caption has an accent: Wine reads the probe's arguments in the Unix locale's encoding.
splash() { LC_ALL=C.UTF-8 probe "$1" "${SPLASH[@]}" "${@:2}"; }
check "the splash shows while the program starts" splash wait 20
import -window root "$shots/splash.png" 2>/dev/null || true
read -r _ _ width height visible < <(splash rect)
check "the splash is visible (${width}x$height)" test "$visible" = 1
probe wait "${CHOOSER[@]}" 30 || fail "Tessera did not finish starting"
check "the splash is gone once the forms are made" splash gone 5
check "the Clipboard folder is made in the unzipped folder" test -d "$E2E_DIR/Clipboard"

probe command "${MAIN_WINDOW[@]}" "$CMD_ABOUT"
check "About... opens the box with its French caption" probe wait "${ABOUT_BOX[@]}" 10
# The box exists from the start, hidden: the screenshot waits until it shows and its loop runs.
wait_shown 1 "${ABOUT_BOX[@]}" 10 || fail "the About box did not show"
probe answers "${ABOUT_BOX[@]}" 10 || fail "the About box does not answer"
import -window root "$shots/about.png" 2>/dev/null || true
children=$(probe children "${ABOUT_BOX[@]}")
check "the box says what it runs on" grep -q '|pour Windows 95/98/ME/2000/XP|' <<<"$children"
check "the link reads \"Site web\"" grep -q '|Site web|' <<<"$children"
check "the version names the 64-bit build" grep -q '|Version 1.0 - 64 bits|' <<<"$children"
probe command "${ABOUT_BOX[@]}" "$IDOK"
check "OK closes the box" wait_shown 0 "${ABOUT_BOX[@]}" 5

quit_tessera
check "quitting writes Tessera.INI beside the program" test -f "$E2E_DIR/Tessera.INI"
