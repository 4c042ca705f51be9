#!/usr/bin/env bash
# Ctrl+Q held down for a second and a half, as the X server repeats Q meanwhile: notepad's
# selection is filed once and nothing is typed over it.
source "$(dirname "$0")/lib.sh"

fresh_install
start_tessera
store="$E2E_DIR/Clipboard"

printf 'Tessera keeps this line whole\r\n' >"$E2E_DIR/held.txt"
open_notepad notepad held.txt
give_keys "$notepad"
keys ctrl+a
xdotool keydown ctrl q
# The hold itself, not a wait: the X server repeats Q meanwhile.
sleep 1.5
xdotool keyup q ctrl
check "the held Ctrl+Q files the selection" wait_file "$store/Texte_001.txt" 15
check "which is notepad's line" grep -q 'Tessera keeps this line whole' "$store/Texte_001.txt"
document() { probe child-text Notepad 'held.txt - Notepad' Edit; }
check "the document is unchanged" test "$(document)" = 'Tessera keeps this line whole'
probe answers "${MAIN_WINDOW[@]}" 30 || fail "Tessera does not answer"
# A repeat that got through would file a second item soon after the first: watch a second.
check "exactly one item is filed" quiet_for 1 store_holds 1

quit_tessera
echo "held_hotkey: all checks passed"
