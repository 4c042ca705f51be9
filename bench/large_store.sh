#!/usr/bin/env bash
# Tessera over a large store under Wine, as a user meets it:
#   start-up: from the launch to the program answering a message after it made the chooser (the
#   last form it makes, after loading the index), the splash's 2,000 ms taken off;
#   the paste hot key: from the key to the chooser shown with its list holding every line, at
#   the first showing after start-up and at the later ones (median);
#   the copy hot key with notepad in front to the item's file made and the index file written
#   (median of RUNS), over ITEMS items (-1 for a build that does not write the index at a capture);
#   item files changed by hand while Tessera runs, the chooser shown before: the paste hot key to
#   the list holding the right count after 1 % of the files were deleted (every 100th, then one
#   block), 10 % deleted, and 1 % of another store's files copied in, with the longest Tessera took
#   to answer meanwhile (-1: not within 10 s);
#   resident memory with ITEMS items and with none, and per item;
#   resident memory before and after another program copied a 24 MB bitmap (3000 x 2000 pixels,
#   32 bits) while Tessera's window is hidden.
# Prints one "figure: value" line per figure.
#   bench/large_store.sh [BUILD_DIR] [ITEMS] [RUNS] [EXE]     (build/win64, 100000, 7, its Tessera.exe)
# Needs a display and a Wine prefix (tools/wine-env provides both).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
items=${2:-100000}
runs=${3:-7}
export TESSERA_EXE=${4:-$build/src/Tessera.exe} E2E_PROBE=$build/tests/e2e_probe.exe PLANTED_DLL=
source "$root/tests/e2e/lib.sh"

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
resident_kb() { awk '$1 == "VmRSS:" { print $2 }' "/proc/$(prefix_pids Tessera.exe | tail -1)/status"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A store of `items` small rich-text items and the index that names them.
make_store() {
  mkdir -p "$E2E_DIR/Clipboard"
  (cd "$E2E_DIR/Clipboard" && for ((i = 1; i <= $1; i++)); do
    printf '{\\rtf1\\ansi item %d\\par}' "$i" >"$(printf 'Texte_%06d.txt' "$i")"
  done)
  [ "$1" -gt 0 ] && awk -v n="$1" 'BEGIN {
    printf "2,%d\r\ncw 0,64\r\ncw 1,64\r\n", n
    for (i = 1; i <= n; i++) printf "0,%d,Texte_%06d\r\n1,%d,Texte_%06d.txt\r\n", i - 1, i, i - 1, i
  }' >"$E2E_DIR/Tessera.FIC"
  return 0
}

# Starts Tessera; READY_MS: the ms to ready, splash excluded.
start_timed() {
  local start
  start=$(now_ms)
  (cd "$E2E_DIR" && exec "$WINE" Tessera.exe) >/dev/null 2>&1 &
  TESSERA_PID=$!
  E2E_PIDS+=("$TESSERA_PID")
  probe ready "${CHOOSER[@]}" 120 || fail "Tessera did not become ready"
  READY_MS=$(($(now_ms) - start - 2000))
}
settle() { LC_ALL=C.UTF-8 probe gone "${SPLASH[@]}" 10 || true; sleep 3; }

fresh_install
make_store "$items"
readies=()
for ((run = 1; run <= 3; run++)); do
  start_timed
  readies+=("$READY_MS")
  [ "$run" -lt 3 ] && quit_tessera
done
settle
rss_items=$(resident_kb)
first=$(probe time-paste "$items" | cut -d' ' -f1) || fail "the chooser did not show its $items lines"
sleep 0.3
later=$(for ((run = 1; run < runs; run++)); do probe time-paste "$items"; sleep 0.3; done | median)
printf 'Une ligne copiee depuis notepad\r\n' >"$E2E_DIR/line.txt"
start_wine_program notepad.exe line.txt
notepad=$(x_window 'line.txt - Notepad') || fail "notepad did not open"
give_keys "$notepad"
keys ctrl+a
index_file="Z:${E2E_DIR//\//\\}\\Tessera.FIC"
copied=$(for ((run = 0; run < runs; run++)); do probe time-copy "Z:${E2E_DIR//\//\\}\\Clipboard" "$index_file" || true; sleep 0.3; done |
  awk '{ print $2 }' | median)

# Files deleted or copied in by hand: the watch reports each name, or runs over and loses track.
store="$E2E_DIR/Clipboard"
count=$((items + runs))  # the copies timed above are items too
# Deletes the items numbered FROM to TO (those still there) that STEP divides.
delete_items() {
  local i name names=()
  for ((i = $1; i <= $2; i += $3)); do
    name=$store/$(printf 'Texte_%06d.txt' "$i")
    [ -e "$name" ] && names+=("$name")
  done
  rm -f "${names[@]}"
  count=$((count - ${#names[@]}))
}
hand_rows=()
by_hand() {
  local result
  sleep 1
  result=$(probe time-paste "$count" || true)
  hand_rows+=("paste hot key to the list filled, $items items, $1: $(cut -d' ' -f1 <<<"$result") ms (longest unanswered $(cut -d' ' -f2 <<<"$result") ms)")
  sleep 0.3
}
probe time-paste "$count" >/dev/null || true
delete_items 100 "$items" 100
by_hand "after 1 % of the files deleted by hand, every 100th"
delete_items $((items / 10 + 1)) $((items / 10 + items / 100)) 1
by_hand "after 1 % of the files deleted by hand in one block"
delete_items $((items / 5 + 1)) $((items / 5 + items / 10)) 1
by_hand "after 10 % of the files deleted by hand"
mkdir -p "$E2E_DIR/other"
for ((i = 1; i <= items / 100; i++)); do printf '{\\rtf1\\ansi other %d\\par}' "$i" >"$E2E_DIR/other/$(printf 'Texte_%07d.txt' "$i")"; done
cp "$E2E_DIR/other/"* "$store/"
by_hand "after 1 % of another store's files copied in by hand"
# A build that still works through the changes would keep a quit waiting.
crash_tessera
rm -rf "$E2E_DIR/Clipboard" "$E2E_DIR/Tessera.FIC" "$E2E_DIR/other"

make_store 0
start_timed
settle
rss_empty=$(resident_kb)
probe put-bitmap 3000 2000 || fail "no bitmap on the clipboard"
sleep 4
rss_bitmap=$(resident_kb)
quit_tessera

echo "start-up to ready, $items items, splash excluded: $(printf '%s\n' "${readies[@]}" | median) ms (runs: ${readies[*]})"
printf '%s\n' "${hand_rows[@]}"
echo "paste hot key to the list filled, $items items, first showing: $first ms"
echo "paste hot key to the list filled, $items items, later showings: $later ms"
echo "copy hot key to item file and index written, $items items: $copied ms"
echo "resident memory, $items items: $rss_items KB; none: $rss_empty KB"
echo "resident memory per item: $(((rss_items - rss_empty) * 1024 / items)) bytes"
echo "resident memory after another program copied a 24 MB bitmap, window hidden: +$((rss_bitmap - rss_empty)) KB ($rss_empty KB before)"
