#!/usr/bin/env bash
# Copy and paste through the real hot keys, typed with xdotool as a person would: a line copied
# from Wine's notepad is pasted back into it, and bold and italic text copied from wordpad is
# pasted into an empty wordpad document with its formatting, exactly as wordpad's own copy and
# paste would give it.
source "$(dirname "$0")/lib.sh"


fresh_install
start_tessera
store="$E2E_DIR/Clipboard"

printf 'Tessera carries this line\r\n' >"$E2E_DIR/note.txt"
open_notepad notepad note.txt
give_keys "$notepad"
keys ctrl+a
keys ctrl+q
check "Ctrl+Q files notepad's selected line as Texte_001.txt" wait_file "$store/Texte_001.txt" 15
check "in rich text holding the line" grep -q 'Tessera carries this line' "$store/Texte_001.txt"
# A second capture of the same copy would follow the first at once: watch a second.
check "exactly one item is filed" quiet_for 1 store_holds 1

keys ctrl+a Delete
keys ctrl+space
check "Ctrl+Space opens the chooser" wait_shown 1 "${CHOOSER[@]}"
screenshot=${E2E_SCREENSHOTS:-}
[ -n "$screenshot" ] && import -window root "$screenshot/chooser-notepad.png"
click_coller
check "a click on Coller closes it" wait_shown 0 "${CHOOSER[@]}"
give_keys "$notepad"
notepad_has_line() { probe child-text Notepad 'note.txt - Notepad' Edit | grep -q 'Tessera carries this line'; }
check "the line is pasted into notepad" eventually notepad_has_line

printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Du {\\b gras} et de l{\\i italique}.\\par}' >"$E2E_DIR/doc.rtf"
printf '{\\rtf1\\ansi }' >"$E2E_DIR/empty.rtf"
open_wordpad doc doc.rtf
give_keys "$doc"
keys ctrl+a
keys ctrl+q
# Once the chooser has hidden, Wine on a bare X server (no window manager) sometimes keeps typed
# keys from the window that has the X focus; a click into the document gives them back.
if ! wait_file "$store/Texte_002.txt" 10; then
  give_keys "$doc"
  xdotool click 1
  keys ctrl+a
  keys ctrl+q
fi
check "Ctrl+Q files wordpad's text as Texte_002.txt" wait_file "$store/Texte_002.txt" 15
formatted=$(grep -aF 'gras' "$store/Texte_002.txt" | tr -d '\r')
check "with its bold and its italic" bash -c '[[ $0 == *"\\b gras\\b0"* && $0 == *"\\i italique\\i0"* ]]' "$formatted"

# Wordpad's own copy of the same selection, pasted into an empty document, is what Tessera's
# round trip must give. The document is still the window in front here.
give_keys "$doc"
keys ctrl+a
keys ctrl+c
cp "$E2E_DIR/empty.rtf" "$E2E_DIR/reference.rtf"
open_wordpad reference reference.rtf
give_keys "$reference"
keys ctrl+v
reference_pasted() { probe child-text - 'reference.rtf - Wine Wordpad' RichEdit20W >"$E2E_DIR/reference.out" && grep -q gras "$E2E_DIR/reference.out"; }
eventually reference_pasted || fail "wordpad's own paste did not arrive"

open_wordpad empty empty.rtf
give_keys "$empty"
keys ctrl+space
check "Ctrl+Space opens the chooser again" wait_shown 1 "${CHOOSER[@]}"
# The list remembers the first item; the newest is on the second line: a click selects it and a
# click on Coller pastes it. (Giving the chooser the X focus for keys would leave no focus at all
# once it hides, and the paste keys would be lost.)
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "ListBox" { print $3 }')
xdotool mousemove $((x + 20)) $((y + 2 + 13 + 6)) click 1
eventually chooser_line_is 1 || fail "the click did not select the newest item"
[ -n "$screenshot" ] && import -window root "$screenshot/chooser-wordpad.png"
click_coller
check "the second click closes it" wait_shown 0 "${CHOOSER[@]}"
wordpad_has_text() { probe child-text - 'empty.rtf - Wine Wordpad' RichEdit20W | grep -q 'Du gras et de litalique'; }
check "the text is pasted into the empty document" eventually wordpad_has_text
same_as_reference() {
  probe child-text - 'empty.rtf - Wine Wordpad' RichEdit20W >"$E2E_DIR/pasted.out"
  cmp -s "$E2E_DIR/reference.out" "$E2E_DIR/pasted.out" && return 0
  echo "wordpad's paste and Tessera's:" >&2
  od -c "$E2E_DIR/reference.out" >&2
  od -c "$E2E_DIR/pasted.out" >&2
  return 1
}
check "as wordpad's own paste gives it, with no paragraph added" same_as_reference
give_keys "$empty"
keys ctrl+s
saved_formatting() { tr -d '\r' <"$E2E_DIR/empty.rtf" | grep -aqF "$formatted"; }
check "the pasted document has the same formatted text as the copied one" eventually saved_formatting

quit_tessera
check "the index file lists both items" bash -c 'tr -d "\r" <"$0" | grep -qx "1,1,Texte_002.txt"' "$E2E_DIR/Tessera.FIC"
echo "paste: all checks passed"
