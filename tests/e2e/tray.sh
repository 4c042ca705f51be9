#!/usr/bin/env bash
# The tray icon in Wine's system tray window: it shows the program's icon, a right click opens
# the French tray menu, and "&Quitter" there saves the settings and ends the program.
source "$(dirname "$0")/lib.sh"

fresh_install
start_tessera

x_window 'Wine System Tray' >/dev/null || fail "no system tray window"
# The icon's own window inside the tray, wherever the tray draws its caption (or has none).
icon_place() { probe children - 'Wine System Tray' | awk -F'|' '$1 ~ /tray_icon/ { print $3; exit }'; }
has_icon_place() { test -n "$(icon_place)"; }
eventually has_icon_place || fail "no icon window in the system tray"
read -r left top _ < <(icon_place)
# The icon animates: some pixel of its place is neither the tray's white nor black.
icon_drawn() {
  import -window root -crop 20x20+"$left"+"$top" txt:- | awk 'NR > 1 && $3 != "#FFFFFF" && $3 != "#000000" { found = 1 } END { exit !found }'
}
check "the icon is in the system tray" eventually icon_drawn
[ -n "${E2E_SCREENSHOTS:-}" ] && import -window root -crop 200x60+0+0 "$E2E_SCREENSHOTS/tray.png"

xdotool mousemove $((left + 10)) $((top + 10)) click 3
menu_open() { probe rect "#32768" "" >/dev/null 2>&1; }
check "a right click opens the tray menu" eventually menu_open
read -r mx my mw mh _ < <(probe rect "#32768" "")
[ -n "${E2E_SCREENSHOTS:-}" ] && import -window root -crop 260x120+0+0 "$E2E_SCREENSHOTS/tray-menu.png"
# "&Quitter" is the last item.
xdotool mousemove $((mx + 30)) $((my + mh - 10)) click 1
wait_exit 20
check "&Quitter ends the program and writes the settings file" test -f "$E2E_DIR/Tessera.INI"
check "with the window's place" test -n "$(ini_value "$E2E_DIR/Tessera.INI" MainW x)"
echo "tray: all checks passed"
