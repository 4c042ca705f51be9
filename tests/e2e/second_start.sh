#!/usr/bin/env bash
# One Tessera per folder: a second start from the same folder (a double double-click, a start-up
# entry and a manual start) ends and brings the running one's options window forward; the running
# one's hot keys work, and after captures and a quit the index names every item.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
: >"$E2E_DIR/draft.txt"
start_tessera
first=$TESSERA_PID
(cd "$E2E_DIR" && exec "$WINE" Tessera.exe) &
second=$!
E2E_PIDS+=("$second")
ended() { ! kill -0 "$second" 2>/dev/null; }
check "the second start ends by itself" eventually ended
check "and the running one shows its options window" wait_shown 1 "${MAIN_WINDOW[@]}"
check "the first one goes on" kill -0 "$first"

open_notepad notepad draft.txt
capture_typed AAAA Texte_001.txt
capture_typed BBBB Texte_002.txt
TESSERA_PID=$first
quit_tessera
check "the index names every item" test "$(index_rows | cut -d'|' -f2 | tr '\n' ' ')" = "Texte_001.txt Texte_002.txt "
check "and the folder's lock is gone with the program" test ! -e "$E2E_DIR/Clipboard.lock"
echo "second_start: all checks passed"
