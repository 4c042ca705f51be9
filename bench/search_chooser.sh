#!/usr/bin/env bash
# The chooser's search under Wine, over a store of ITEMS items made by make_search_store (texts
# from Debian's word lists, 2 % pictures), as a user meets it:
#   start-up with no search cache: start-up to ready and the paste hot key to the list filled
#   while the cache is built in the background, and the build itself (launch to the cache
#   written), with the resident memory once it is there;
#   keystrokes: each query typed a letter at a time into the search field, the ms from each
#   change to the list's count (a frequent word, a rare word, two words, a word with accents typed
#   without them, a word found nowhere), three rounds: the median of every time, and the slowest
#   keystroke (the largest of each keystroke's median over the rounds) beside the largest single
#   time, the bare question of the list's count and the field emptied (every line back);
#   resident memory after them;
#   start-up with the cache of the run before: start-up to ready, and the first search, typed as
#   soon as the chooser shows: the ms of its keystroke and until the list holds every match.
# With BASELINE_EXE naming another build of Tessera.exe (main's, say), its start-up, showing and
# resident memory over the same store are measured first, as the baseline.
# Prints one "figure: value" line per figure.
#   bench/search_chooser.sh [BUILD_DIR] [ITEMS]        (build/win64, 100000)
# Needs a display and a Wine prefix (tools/wine-env provides both), and the native build's
# make_search_store.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
items=${2:-100000}
maker=$root/build/native/bench/make_search_store
export TESSERA_EXE=$build/src/Tessera.exe E2E_PROBE=$build/tests/e2e_probe.exe PLANTED_DLL=
source "$root/tests/e2e/lib.sh"

# A frequent word, a rare one, two words, accents typed without them, nothing: words of the store
# that make_search_store writes with its default seed.
queries=(jordaniennes unflappable "attelage hone" depolitises qzxjw)

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
resident_kb() { awk '$1 == "VmRSS:" { print $2 }' "/proc/$(prefix_pids Tessera.exe | tail -1)/status"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
start_timed() {
  START_MS=$(now_ms)
  (cd "$E2E_DIR" && exec "$WINE" Tessera.exe) >/dev/null 2>&1 &
  TESSERA_PID=$!
  E2E_PIDS+=("$TESSERA_PID")
  probe ready "${CHOOSER[@]}" 120 || fail "Tessera did not become ready"
  READY_MS=$(($(now_ms) - START_MS - 2000))
}
open_chooser() {
  probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
  wait_shown 1 "${CHOOSER[@]}" 20 || fail "the chooser did not open"
}
close_chooser() {
  probe post "${CHOOSER[@]}" "$WM_CLOSE" 0 0
  wait_shown 0 "${CHOOSER[@]}" 20 || fail "the chooser did not close"
}
cache="$E2E_DIR/Tessera.SCH"

fresh_install
"$maker" "$E2E_DIR" "$items" >/dev/null

if [ -n "${BASELINE_EXE:-}" ]; then
  cp "$BASELINE_EXE" "$E2E_DIR/Tessera.exe"
  start_timed
  echo "baseline: start-up to ready, $items items, splash excluded: $READY_MS ms"
  LC_ALL=C.UTF-8 probe gone "${SPLASH[@]}" 10 || true
  echo "baseline: paste hot key to the list filled: $(probe time-paste "$items" | cut -d' ' -f1) ms"
  sleep 3
  echo "baseline: resident memory, $items items: $(resident_kb) KB"
  quit_tessera
  fresh_install
fi

rm -f "$cache"
start_timed
echo "start-up to ready while the cache is built, $items items, splash excluded: $READY_MS ms"
LC_ALL=C.UTF-8 probe gone "${SPLASH[@]}" 10 || true
echo "paste hot key to the list filled while the cache is built: $(probe time-paste "$items" | cut -d' ' -f1) ms"
for ((i = 0; i < 3000; i++)); do [ -s "$cache" ] && break; sleep 0.1; done
wait_file "$cache" 60 || fail "the search cache was not written"
echo "search cache built from nothing, $items items, launch to written: $(($(now_ms) - START_MS - 2000)) ms ($(($(stat -c %s "$cache") / 1048576)) MB)"
sleep 2
echo "resident memory, $items items, texts read: $(resident_kb) KB"
open_chooser
# Three rounds: on a shared machine one keystroke's time may be another program's; the slowest
# keystroke is the one whose median over the rounds is the largest (the largest single time is
# printed too).
for round in 1 2 3; do probe time-search "${queries[@]}"; done | tee "$E2E_DIR/search.txt" | sed 's/^/  /'
median=$(awk -F'|' 'NF == 3 { n = split($3, t, " "); for (i = 1; i <= n; i++) print t[i] }' "$E2E_DIR/search.txt" | median)
read -r slowest single < <(awk -F'|' 'NF == 3 {
    n = split($3, t, " "); for (i = 1; i <= n; i++) { k = $1 SUBSEP i; v[k, ++c[k]] = t[i] + 0; if (t[i] + 0 > single) single = t[i] + 0 } }
  END {
    for (k in c) { a = v[k, 1]; b = v[k, 2]; d = v[k, 3]
      med = a + b + d - (a > b ? (a > d ? a : d) : (b > d ? b : d)) - (a < b ? (a < d ? a : d) : (b < d ? b : d))
      if (med > slow) slow = med }
    printf "%.1f %.1f\n", slow, single }' "$E2E_DIR/search.txt")
read -r _ _ _ _ _ trip _ emptied <<<"$(grep '^median' "$E2E_DIR/search.txt" | tail -1)"
echo "keystroke to list updated, $items items: median $median ms, slowest $slowest ms, largest single time $single ms (list's count alone $trip ms, field emptied $emptied ms)"
echo "resident memory after the searches: $(resident_kb) KB"
rare=$(awk -F'|' -v q="${queries[1]}" '$1 == q { print $2 }' "$E2E_DIR/search.txt")
close_chooser
quit_tessera

start_timed
echo "start-up to ready with the cache, $items items, splash excluded: $READY_MS ms"
open_chooser
read -r typed full < <(probe search-until "${queries[1]}" "$rare" || echo "-1 -1")
echo "first search after start-up, $items items: keystroke $typed ms, every match listed after $full ms"
sleep 5
echo "resident memory with the cache read, after a search: $(resident_kb) KB"
close_chooser
quit_tessera
