#!/usr/bin/env bash
# Damaged and hostile data: an index file that claims two billion rows and names files outside
# the store (a parent folder, a drive, a stream, a device) or gone, and damaged pictures and a
# binary text in the store. Tessera starts small, previews every item without failing, and its
# clear command deletes the store's files and nothing else.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
mkdir -p "$store"
printf 'keep me' >"$E2E_DIR/decoy.txt"
printf '{\\rtf1\\ansi good\\par}' >"$store/Texte_001.txt"
head -c 4096 /dev/urandom >"$store/Texte_002.txt"
head -c 300 /dev/urandom >"$store/Clipart_001.wmf"
printf '\xd7\xcd\xc6\x9a\x00\x00' >"$store/Clipart_002.wmf"
head -c 200 /dev/urandom >"$store/SuperClipart_001.emf"
printf 'BM' >"$store/Image_001.bmp"
{
  printf '2,2000000000\r\ncw 0,64\r\ncw 1,64\r\n'
  row=0
  for name in Texte_001.txt Texte_002.txt Clipart_001.wmf Clipart_002.wmf SuperClipart_001.emf Image_001.bmp \
    '..\decoy.txt' 'C:\windows\win.ini' 'Texte_001.txt:flux' 'CON.txt' 'gone.txt'; do
    printf '0,%d,item%d\r\n1,%d,%s\r\n' "$row" "$row" "$row" "$name"
    row=$((row + 1))
  done
} >"$E2E_DIR/Tessera.FIC"
win_ini="$WINEPREFIX/drive_c/windows/win.ini"
[ -f "$win_ini" ] || printf '[windows]\r\n' >"$win_ini"

start_tessera
alive() { kill -0 "$TESSERA_PID" 2>/dev/null && probe rect "${MAIN_WINDOW[@]}" >/dev/null; }
# Tessera's process is the one Wine runs in the scenario's folder.
for pid in $(prefix_pids Tessera.exe); do [ "$(readlink "/proc/$pid/cwd")" = "$E2E_DIR" ] && tessera_pid=$pid; done
rss_kb=$(awk '/VmRSS/ { print $2 }' "/proc/${tessera_pid:-$TESSERA_PID}/status")
check "two billion rows claimed cost no memory (${rss_kb} KB resident)" test "$rss_kb" -lt 200000

probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
check "the chooser opens over the damaged store" wait_shown 1 "${CHOOSER[@]}"
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "ListBox" { print $3 }')
# The six items whose files are in the store, each previewed in turn.
for line in 0 1 2 3 4 5; do
  xdotool mousemove $((x + 20)) $((y + 2 + 13 * line + 6)) click 1
  # The chooser previews a line as it selects it.
  eventually chooser_line_is "$line" || fail "line $line was not selected"
done
check "every damaged item is previewed without failing" alive
no_message_box() { ! probe wait "#32770" Information 0.5; }
check "no item is reported missing (stale and crafted rows went silently)" no_message_box

read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "Button" && $2 ~ /^Vider/ { print $3 }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
probe wait "#32770" Confirmation 10 || fail "no confirmation"
read -r x y w h < <(probe children "#32770" Confirmation | awk -F'|' '$1 == "Button" && $2 == "&Oui" { print $3 }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
probe wait "#32770" Information 10 || fail "no message after clearing"
read -r x y w h < <(probe children "#32770" Information | awk -F'|' '$1 == "Button" { print $3 }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
check "the chooser closes after clearing" wait_shown 0 "${CHOOSER[@]}"
check "the store is empty" test -z "$(ls -A "$store")"
check "the index file is gone" test ! -e "$E2E_DIR/Tessera.FIC"
check "the decoy beside the program is untouched" test "$(cat "$E2E_DIR/decoy.txt")" = "keep me"
check "the system's win.ini is untouched" test -f "$win_ini"
quit_tessera
echo "hostile: all checks passed"
