#!/usr/bin/env bash
# A capture never takes the name of an item file that is already there: not after an item file
# was deleted by hand (the index still names the files after it), not after a crash (the captures
# since the last save are files the index does not name). Texts typed into notepad, copied with
# the real Ctrl+Q.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
: >"$E2E_DIR/draft.txt"

# Types TEXT into notepad in place of its content and files it with Ctrl+Q as FILE.
# A click activates notepad again: once Tessera restarts, the X focus alone does not (no window
# manager here to tell Wine which window is in front).
capture_typed() {
  local text=$1 file=$2
  give_keys "$notepad"
  xdotool click 1
  keys ctrl+a
  xdotool type --delay 20 "$text"
  keys ctrl+a
  keys ctrl+q
  wait_file "$store/$file" 15 || fail "$text was not filed as $file (store: $(ls "$store" | tr '\n' ' '))"
  grep -aq "$text" "$store/$file" || fail "$file does not hold $text"
}
start_notepad() {
  open_notepad notepad draft.txt
}

start_tessera
start_notepad
capture_typed AAAA Texte_001.txt
capture_typed BBBB Texte_002.txt
capture_typed CCCC Texte_003.txt
quit_tessera

rm "$store/Texte_002.txt"
start_tessera
capture_typed DDDD Texte_004.txt
check "a file deleted by hand leaves the later items' files alone" grep -aq CCCC "$store/Texte_003.txt"

# A crash: the program ends without saving, so the index does not name Texte_004.
kill -9 "$TESSERA_PID"
"$WINE" taskkill /f /im Tessera.exe >/dev/null 2>&1 || true
wait_exit 20
start_tessera
capture_typed EEEE Texte_005.txt
check "a capture made before a crash keeps its file" grep -aq DDDD "$store/Texte_004.txt"
quit_tessera
names=$(tr -d '\r' <"$E2E_DIR/Tessera.FIC" | grep '^1,' | cut -d, -f3-)
check "the index names each file once ($(echo $names))" test "$(sort <<<"$names" | uniq -d)" = ""
echo "numbering: all checks passed"
