#!/usr/bin/env bash
# The user's own choices with the real keyboard: hot keys picked in the settings file copy from
# one notepad and paste into another while Ctrl+Q and Ctrl+Space stay free for other programs;
# Shift held while choosing pastes a bold wordpad selection as plain text, without its bold.
source "$(dirname "$0")/lib.sh"

MOD_ALT=1 MOD_CONTROL=2 MOD_SHIFT=4

fresh_install
printf '[Options]\r\nCopyHotKey=Ctrl+Alt+C\r\nPasteHotKey=Ctrl+Shift+V\r\n' >"$E2E_DIR/Tessera.INI"
start_tessera
store="$E2E_DIR/Clipboard"

taken() { ! probe hotkey-free "$@"; }
check "Ctrl+Q stays free for other programs" probe hotkey-free $MOD_CONTROL 0x51
check "and so does Ctrl+Space" probe hotkey-free $MOD_CONTROL 0x20
check "Ctrl+Alt+C is Tessera's" taken $((MOD_CONTROL | MOD_ALT)) 0x43
check "and Ctrl+Shift+V" taken $((MOD_CONTROL | MOD_SHIFT)) 0x56

printf 'copied with my own key\r\n' >"$E2E_DIR/mine.txt"
: >"$E2E_DIR/other.txt"
open_notepad mine mine.txt
give_keys "$mine"
keys ctrl+a
keys ctrl+alt+c
check "Ctrl+Alt+C files notepad's line" wait_file "$store/Texte_001.txt" 15
check "holding it" grep -q 'copied with my own key' "$store/Texte_001.txt"
open_notepad other other.txt
give_keys "$other"
keys ctrl+shift+v
check "Ctrl+Shift+V opens the chooser" wait_shown 1 "${CHOOSER[@]}"
click_coller
check "Coller closes it" wait_shown 0 "${CHOOSER[@]}"
give_keys "$other"
other_has_line() { probe child-text Notepad 'other.txt - Notepad' Edit | grep -q 'copied with my own key'; }
check "the line is pasted into the other notepad" eventually other_has_line

printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Du {\\b gras} ici.\\par}' >"$E2E_DIR/bold.rtf"
printf '{\\rtf1\\ansi }' >"$E2E_DIR/plain.rtf"
open_wordpad bold bold.rtf
give_keys "$bold"
keys ctrl+a
keys ctrl+alt+c
# Wine on a bare X server sometimes keeps typed keys from the window with the X focus once the
# chooser has hidden; a click into the document gives them back.
if ! wait_file "$store/Texte_002.txt" 10; then
  give_keys "$bold"
  xdotool click 1
  keys ctrl+a
  keys ctrl+alt+c
fi
check "the bold selection is filed" wait_file "$store/Texte_002.txt" 15
check "in bold" grep -aq '\\b gras\\b0' "$store/Texte_002.txt"

open_wordpad plain plain.rtf
give_keys "$plain"
keys ctrl+shift+v
check "the chooser opens again" wait_shown 1 "${CHOOSER[@]}"
# The list remembers the first item; the bold one is on the second line.
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "ListBox" { print $3 }')
xdotool mousemove $((x + 20)) $((y + 2 + 13 + 6)) click 1
eventually chooser_line_is 1 || fail "the click did not select the bold item"
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "Button" && $2 == "Coller" { print $3 }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) keydown shift click 1 keyup shift
check "Shift+Coller closes it" wait_shown 0 "${CHOOSER[@]}"
plain_has_text() { probe child-text - 'plain.rtf - Wine Wordpad' RichEdit20W | grep -q 'Du gras ici'; }
check "the text is pasted into the second wordpad" eventually plain_has_text
no_rich_text() { ! probe clipboard-has "Rich Text Format"; }
check "from a clipboard holding no rich text" no_rich_text
give_keys "$plain"
keys ctrl+s
saved_plain() { tr -d '\r' <"$E2E_DIR/plain.rtf" | grep -aq 'Du gras ici'; }
check "the document is saved with the text" eventually saved_plain
without_bold() { ! tr -d '\r' <"$E2E_DIR/plain.rtf" | grep -aqE '\\b( |\\|1)'; }
check "without bold" without_bold

quit_tessera
echo "choices: all checks passed"
