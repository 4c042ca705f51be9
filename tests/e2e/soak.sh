#!/usr/bin/env bash
# A long session: SOAK_CAPTURES copies, each made after the copy hot key, and every few of them a
# paste of the newest item through the chooser and "Coller", SOAK_PASTES in all. Every capture is
# filed, every paste puts the chosen item's text back on the clipboard, the index lists each item
# once, and the program's memory, handles and GDI objects stay flat (printed at the start,
# halfway and the end).
# The hot keys are posted as the WM_HOTKEY messages they arrive as (the real keys are typed in
# paste.sh and hotkeys.sh): without a window manager, Wine loses track of which window has the
# keyboard after a few chooser showings, and typed keys then go nowhere.
# The test run uses the short default; by hand:  SOAK_CAPTURES=1000 SOAK_PASTES=200 tests/e2e/soak.sh
source "$(dirname "$0")/lib.sh"

captures=${SOAK_CAPTURES:-40}
pastes=${SOAK_PASTES:-8}
fresh_install
start_tessera
store="$E2E_DIR/Clipboard"
tessera_pid=$(prefix_pids Tessera.exe | tail -1)
counts() { echo "$(awk '/VmRSS/ { print $2 }' "/proc/$tessera_pid/status") $(probe counts Tessera.exe)"; }
report() { echo "after $(printf '%5d' "$1") captures: $2 KB resident, $3 handles, $4 GDI objects"; }
read -r rss0 handles0 gdi0 < <(counts)
report 0 "$rss0" "$handles0" "$gdi0"

files() { find "$store" -type f | wc -l; }
# A function, so that each try counts the files again.
filed_at_least() { test "$(files)" -ge "$1"; }
paste_every=$((captures / pastes))
printf 'avant le collage\r\n' >"$E2E_DIR/marker.txt"
pasted=0
for ((n = 1; n <= captures; n++)); do
  printf 'ligne %d du long essai\r\n' "$n" >"$E2E_DIR/line.txt"
  capture_text_of "$E2E_DIR/line.txt"
  eventually filed_at_least "$n" || fail "capture $n was not filed"
  if ((pasted < pastes && n % paste_every == 0)); then
    probe answers "${MAIN_WINDOW[@]}" 30 || fail "Tessera does not answer"
    # Only the paste can put the item back: the capture left it on the clipboard.
    probe put-text "Z:$E2E_DIR/marker.txt"
    probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
    wait_shown 1 "${CHOOSER[@]}" || fail "paste $((pasted + 1)): the chooser did not open"
    # The chooser comes back to the row picked last time; the newest is the last row.
    probe key "${CHOOSER[@]}" ListBox "$VK_END"
    probe answers "${CHOOSER[@]}" 30 || fail "paste $((pasted + 1)): the chooser does not answer"
    click_coller
    wait_shown 0 "${CHOOSER[@]}" || fail "paste $((pasted + 1)): the chooser did not close"
    newest_on_clipboard() { (cd "$E2E_DIR" && probe clipboard-text back.txt) && grep -qx "ligne $n du long essai" <(tr -d '\r' <"$E2E_DIR/back.txt"); }
    eventually newest_on_clipboard || fail "paste $((pasted + 1)) did not put item $n on the clipboard"
    pasted=$((pasted + 1))
  fi
  if ((n == captures / 2)); then
    read -r rss1 handles1 gdi1 < <(counts)
    report "$n" "$rss1" "$handles1" "$gdi1"
  fi
done
read -r rss2 handles2 gdi2 < <(counts)
report "$captures" "$rss2" "$handles2" "$gdi2"

check "$captures captures filed, no more" test "$(files)" = "$captures"
check "$pastes pastes put their item on the clipboard" test "$pasted" = "$pastes"
# Flat: from halfway to the end, no more than a few handles or objects more and 10 MB at most.
check "handles stay flat ($handles0, $handles1, $handles2)" test "$handles2" -le $((handles1 + 5))
check "GDI objects stay flat ($gdi0, $gdi1, $gdi2)" test "$gdi2" -le $((gdi1 + 5))
check "memory stays flat (${rss0}, ${rss1}, ${rss2} KB)" test "$rss2" -le $((rss1 + 10240))
quit_tessera
listed=$(tr -d '\r' <"$E2E_DIR/Tessera.FIC" | awk -F, '$1 == 1 { print $3 }')
check "the index lists each item once" test "$(sort -u <<<"$listed" | wc -l)" = "$captures" -a "$(wc -l <<<"$listed")" = "$captures"
missing() { while read -r name; do [ -f "$store/$name" ] || echo "$name"; done <<<"$listed"; }
check "every listed item's file exists" test -z "$(missing)"
echo "soak: all checks passed"
