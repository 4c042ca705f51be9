#!/usr/bin/env bash
# A capture never takes the name of an item file that is already there, also after an item file
# was deleted by hand (the index still names the files after it). Texts typed into notepad, copied
# with the real Ctrl+Q. (After a crash: crash.sh.)
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
: >"$E2E_DIR/draft.txt"

start_tessera
open_notepad notepad draft.txt
capture_typed AAAA Texte_001.txt
capture_typed BBBB Texte_002.txt
capture_typed CCCC Texte_003.txt
quit_tessera

rm "$store/Texte_002.txt"
start_tessera
capture_typed DDDD Texte_004.txt
check "a file deleted by hand leaves the later items' files alone" grep -aq CCCC "$store/Texte_003.txt"

quit_tessera
names=$(index_rows | cut -d'|' -f2)
check "the index names each file once ($(echo $names))" test "$(sort <<<"$names" | uniq -d)" = ""
echo "numbering: all checks passed"
