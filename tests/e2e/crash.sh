#!/usr/bin/env bash
# A crash loses nothing: over a store whose index file names two items, three texts captured with
# Ctrl+Q in notepad, then Tessera killed as a crash or a power cut would end it. At the next start
# the chooser lists the old items and the three new ones in capture order, and the next capture
# gets a file of its own.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
mkdir -p "$store"
printf '{\\rtf1\\ansi ancien un\\par}' >"$store/Texte_001.txt"
printf '{\\rtf1\\ansi ancien deux\\par}' >"$store/Texte_002.txt"
printf '2,2\r\ncw 0,64\r\ncw 1,64\r\n0,0,Premier\r\n1,0,Texte_001.txt\r\n0,1,Second\r\n1,1,Texte_002.txt\r\n' \
  >"$E2E_DIR/Tessera.FIC"
: >"$E2E_DIR/draft.txt"

start_tessera
open_notepad notepad draft.txt
capture_typed AAAA Texte_003.txt
capture_typed BBBB Texte_004.txt
capture_typed CCCC Texte_005.txt
listed() { test "$(index_rows | tr '\n' ' ')" = "$1"; }
all_five='Premier|Texte_001.txt Second|Texte_002.txt Texte_003|Texte_003.txt Texte_004|Texte_004.txt Texte_005|Texte_005.txt '
check "each capture is in the index file at once" eventually listed "$all_five"
crash_tessera

# The index file of a crash between a file's creation and the index's write.
printf '2,2\r\ncw 0,64\r\ncw 1,64\r\n0,0,Premier\r\n1,0,Texte_001.txt\r\n0,1,Second\r\n1,1,Texte_002.txt\r\n' \
  >"$E2E_DIR/Tessera.FIC"
start_tessera
probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
check "the chooser opens" wait_shown 1 "${CHOOSER[@]}"
check "it lists the old items, then the three captured before the crash, in their order" listed "$all_five"
# The rename field, after the search field, holds the selected item's name.
newest_selected() { test "$(probe child-text "${CHOOSER[@]}" Edit 2)" = Texte_005; }
check "with the newest selected" eventually newest_selected
probe post "${CHOOSER[@]}" "$WM_CLOSE" 0 0
check "the chooser closes" wait_shown 0 "${CHOOSER[@]}"
capture_typed DDDD Texte_006.txt
check "the next capture has a file of its own" grep -aq CCCC "$store/Texte_005.txt"
echo "crash: all checks passed"
