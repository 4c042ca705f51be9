#!/usr/bin/env bash
# The clipboard under strain: held by another program while a capture reads it (briefly, then
# for seconds), and large items: a 10 MB text and a 7680 x 4320 bitmap captured and pasted back
# unchanged. The program stays responsive and quits in good time afterwards.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
start_tessera
tessera_rss() { awk '/VmRSS/ { print $2 }' "/proc/$(prefix_pids Tessera.exe | tail -1)/status"; }

printf 'tenu un instant\r\n' >"$E2E_DIR/short.txt"
capture_text_of "$E2E_DIR/short.txt" 30
check "a clipboard held for a moment is waited for" wait_file "$store/Texte_001.txt" 20

printf 'tenu trop longtemps\r\n' >"$E2E_DIR/held.txt"
capture_text_of "$E2E_DIR/held.txt" 3000 &
holder=$!
message=$(error_box_text) || fail "no error for a clipboard held for seconds"
wait "$holder"
check "a clipboard held for seconds is reported: $message" grep -q 'Ne peut ouvrir le Presse-papiers' <<<"$message"
check "and nothing is filed" test "$(ls "$store" | wc -l)" = 1

# Pastes the newest item, which the chooser preselects only until the user picks a row: each
# large item is therefore pasted from a fresh start. A small text goes on the clipboard first, so
# that only the paste can bring the item back.
printf 'avant le collage\r\n' >"$E2E_DIR/marker.txt"
paste_newest() {
  probe put-text "Z:$E2E_DIR/marker.txt"
  probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
  wait_shown 1 "${CHOOSER[@]}" 60 || fail "the chooser did not open"
  probe answers "${CHOOSER[@]}" 120 || fail "the chooser did not load the preview"
  click_coller
  wait_shown 0 "${CHOOSER[@]}" 60 || fail "the chooser did not close"
}

post_copy_hot_key
probe put-bitmap 7680 4320
check "a 7680 x 4320 bitmap is filed" wait_file "$store/Image_001.bmp" 120
check "with its size" test "$(identify -format '%w %h' "$store/Image_001.bmp")" = "7680 4320"
stripe_at() { convert "$store/Image_001.bmp" -crop "1x1+$1+$2" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
check "and its stripes" test "$(stripe_at 100 10) $(stripe_at 7600 4300)" = "#FF0000 #000000"
paste_newest
check "and pasted back with its size (resident after: $(tessera_rss) KB)" eventually bash -c "$WINE \"$E2E_PROBE\" clipboard-bitmap | tr -d '\r' | grep -qx '7680 4320'"

python3 - "$E2E_DIR/big.txt" <<'PY'
import random, sys
random.seed(7)
words = ['tessera', 'presse', 'papiers', 'coller', 'copier', 'texte', 'image', 'fichier', 'liste', 'index']
lines, size = [], 0
while size < 10 * 1024 * 1024:
    line = ' '.join(random.choice(words) for _ in range(12))
    lines.append(line)
    size += len(line) + 2
open(sys.argv[1], 'wb').write('\r\n'.join(lines).encode())
PY
check "Tessera still runs and is asked to quit" probe command "${MAIN_WINDOW[@]}" "$CMD_QUIT"
wait_exit 60
start_tessera
capture_text_of "$E2E_DIR/big.txt"
check "a 10 MB text is filed" wait_file "$store/Texte_002.txt" 120
paste_newest
same_text() { (cd "$E2E_DIR" && probe clipboard-text back.txt) && cmp -s "$E2E_DIR/big.txt" "$E2E_DIR/back.txt"; }
check "and pasted back unchanged (resident after: $(tessera_rss) KB)" eventually same_text

check "Tessera still runs and is asked to quit" probe command "${MAIN_WINDOW[@]}" "$CMD_QUIT"
wait_exit 60
echo "clipboard: all checks passed"
