#!/usr/bin/env bash
# First start in a fresh folder, quitting from the menu, and the second start at the saved place.
source "$(dirname "$0")/lib.sh"

# An earlier version wrote the path without quotes: the start writes it again, quoted.
"$WINE" reg add "$RUN_KEY" /v Tessera /d 'C:\Old Place\Tessera.exe' /f >/dev/null 2>&1
fresh_install
# A riched20.dll planted in the program's folder must not be the one it loads.
cp "$PLANTED_DLL" "$E2E_DIR/riched20.dll"
start_tessera

richedit=$(probe modules Tessera.exe | grep -i 'riched20' || true)
check "the rich-edit DLL comes from the system folder ($richedit)" bash -c '[[ "${0,,}" == *\\system32\\riched20.dll ]]' "$richedit"

check "the Clipboard folder is made beside the program" test -d "$E2E_DIR/Clipboard"
winpath=$(reg_value "$RUN_KEY" Tessera)
check "the Run value names the executable, quoted ($winpath)" \
  bash -c '[[ "$0" == "\""*"\\$1\\Tessera.exe\"" ]]' "$winpath" "$(basename "$E2E_DIR")"

# The first showing happens off-screen and hides the window 100 ms later, moving it to its saved
# place: until then it is still at -5000 (shown or not yet shown).
first_showing_over() {
  local x visible
  read -r x _ _ _ visible < <(probe rect "${MAIN_WINDOW[@]}")
  [ "$visible" = 0 ] && [ "$x" != -5000 ]
}
check "the window is hidden after the first showing" eventually first_showing_over

probe command "${MAIN_WINDOW[@]}" "$CMD_SHOW_OPTIONS"
check "Options shows the window" wait_shown 1 "${MAIN_WINDOW[@]}"
read -r left top width height visible < <(probe rect "${MAIN_WINDOW[@]}")
read -r sw sh < <(screen_size)
check "the first time it is centred ($left,$top for ${width}x$height on ${sw}x$sh)" \
  test "$left" = $(( (sw - width) / 2 )) -a "$top" = $(( (sh - height) / 2 ))

quit_tessera
ini="$E2E_DIR/Tessera.INI"
check "quitting writes the settings file" test -f "$ini"
check "WinStart=1" test "$(ini_value "$ini" Options WinStart)" = 1
check "x is the left edge" test "$(ini_value "$ini" MainW x)" = "$left"
check "y is the top edge" test "$(ini_value "$ini" MainW y)" = "$top"

# Second start: position from the file (in hexadecimal too), option off.
printf '[Options]\r\nWinStart=0\r\n[MainW]\r\nx=0x64\r\ny=50\r\n' >"$ini"
start_tessera
# Options during the first showing would be undone by its hiding.
eventually first_showing_over || fail "the first showing did not end"
probe command "${MAIN_WINDOW[@]}" "$CMD_SHOW_OPTIONS"
wait_shown 1 "${MAIN_WINDOW[@]}" || fail "Options did not show the window"
read -r left top _ _ visible < <(probe rect "${MAIN_WINDOW[@]}")
check "the next start opens at the saved place ($left,$top)" test "$left" = 100 -a "$top" = 50
check "with the option off, an existing Run value stays" test -n "$(reg_value "$RUN_KEY" Tessera)"
quit_tessera
check "the option stays off" test "$(ini_value "$ini" Options WinStart)" = 0
check "x saved in decimal" test "$(ini_value "$ini" MainW x)" = 100
"$WINE" reg delete "$RUN_KEY" /v Tessera /f >/dev/null 2>&1 || true
echo "startup: all checks passed"
