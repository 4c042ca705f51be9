#!/usr/bin/env bash
# "Garder chaque copie" with Wine's notepad, as a person uses it: three lines copied with Ctrl+C
# alone (no hot key) become three items, and the second, chosen in the chooser, is pasted into
# another notepad; the paste itself is not filed.
source "$(dirname "$0")/lib.sh"

fresh_install
printf '[Options]\r\nKeepEveryCopy=1\r\n' >"$E2E_DIR/Tessera.INI"
start_tessera
store="$E2E_DIR/Clipboard"

printf 'premiere ligne\r\ndeuxieme ligne\r\ntroisieme ligne\r\n' >"$E2E_DIR/lines.txt"
open_notepad notepad lines.txt
give_keys "$notepad"
keys ctrl+Home
for n in 1 2 3; do
  keys Home shift+End ctrl+c
  check "the copy of line $n is filed" wait_file "$store/Texte_00$n.txt" 15
  keys Down
done
check "each once" quiet_for 1 store_holds 3
check "the second item holds the second line" grep -q 'deuxieme ligne' "$store/Texte_002.txt"

: >"$E2E_DIR/empty.txt"
open_notepad other empty.txt
give_keys "$other"
keys ctrl+space
check "Ctrl+Space opens the chooser" wait_shown 1 "${CHOOSER[@]}"
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "ListBox" { print $3 }')
xdotool mousemove $((x + 20)) $((y + 2 + 13 + 6)) click 1
eventually chooser_line_is 1 || fail "the click did not select the second item"
click_coller
check "a click on Coller closes it" wait_shown 0 "${CHOOSER[@]}"
pasted() { probe child-text Notepad 'empty.txt - Notepad' Edit | grep -qx 'deuxieme ligne'; }
check "the second line is pasted into the other notepad" eventually pasted
check "and the paste is not filed" quiet_for 1 store_holds 3
quit_tessera
echo "keep_every_copy: all checks passed"
