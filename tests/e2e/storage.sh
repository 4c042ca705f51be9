#!/usr/bin/env bash
# Storage that refuses writes: the program's folder on a small file system of its own, filled up
# during a capture and during the writing of the index, then a store folder made read-only. Each
# refused write is reported in an error box, no half-written file is left, the index file keeps
# its last whole content, the capture its write missed is listed at the next start, and the
# program goes on working once space is back.
source "$(dirname "$0")/lib.sh"

if ! mount -t tmpfs -o size=3m tmpfs "$E2E_DIR" 2>/dev/null; then
  echo "storage: skipped, this machine cannot mount a small file system"
  exit 77
fi
E2E_MOUNTS+=("$E2E_DIR")
fresh_install
store="$E2E_DIR/Clipboard"
mkdir -p "$store"
printf '{\\rtf1\\ansi premier\\par}' >"$store/Texte_001.txt"
printf '2,1\r\ncw 0,64\r\ncw 1,64\r\n0,0,Texte_001\r\n1,0,Texte_001.txt\r\n' >"$E2E_DIR/Tessera.FIC"
cp "$E2E_DIR/Tessera.FIC" /tmp/storage-index.$$
printf '[Options]\r\nWinStart=0\r\n\r\n[MainW]\r\nx=12\r\ny=34\r\n' >"$E2E_DIR/Tessera.INI"
head -c 65536 /dev/urandom | base64 >"/tmp/storage-text.$$"
echo petit >"/tmp/storage-small.$$"
trap 'rm -f /tmp/storage-index.$$ /tmp/storage-text.$$ /tmp/storage-small.$$; cleanup' EXIT

start_tessera
fill_disk() { dd if=/dev/zero of="$E2E_DIR/filler" bs=64k 2>/dev/null || true; }
fill_disk
capture_text_of "/tmp/storage-text.$$"
message=$(error_box_text) || fail "no error for a capture onto a full disk"
check "a capture onto a full disk is reported: $message" grep -q 'Impossible de créer le fichier.*Texte_002.txt' <<<"$message"
check "and leaves no half-written item file" test ! -e "$store/Texte_002.txt"

# One block free: the item's file fits, the index's new copy does not. The capture is kept and
# the index's write is reported as it fails.
truncate -s -4096 "$E2E_DIR/filler"
capture_text_of "/tmp/storage-small.$$"
check "with one block free, the capture is filed as Texte_002.txt" wait_file "$store/Texte_002.txt" 30
message=$(error_box_text) || fail "no error for an index written onto a full disk"
check "the index's write onto a full disk is reported: $message" grep -q "Cannot Create.*Tessera.FIC" <<<"$message"
check "the index file keeps its last whole content" cmp -s "$E2E_DIR/Tessera.FIC" /tmp/storage-index.$$
check "no temporary file is left beside it" test -z "$(find "$E2E_DIR" -maxdepth 1 -name "*.tmp")"

probe command "${MAIN_WINDOW[@]}" "$CMD_QUIT"
message=$(error_box_text) || fail "no error for settings saved onto a full disk"
check "settings saved onto a full disk are reported: $message" grep -q "paramètres.*Tessera.INI" <<<"$message"
message=$(error_box_text) || fail "no error for an index still not written at the quit"
check "and the index the quit could not write: $message" grep -q "Cannot Create.*Tessera.FIC" <<<"$message"
wait_exit 20
check "the index file still keeps its last whole content" cmp -s "$E2E_DIR/Tessera.FIC" /tmp/storage-index.$$
check "the settings file keeps its content" grep -q "^x=12" "$E2E_DIR/Tessera.INI"

rm -f "$E2E_DIR/filler"
start_tessera
capture_text_of "/tmp/storage-text.$$"
check "with space back, the next capture is filed as Texte_003.txt" wait_file "$store/Texte_003.txt" 30

# A store folder that cannot be written: the item in it stays usable.
mount --bind "$store" "$store" && E2E_MOUNTS+=("$store") && mount -o remount,ro,bind "$store" || fail "cannot make the store read-only"
capture_text_of "/tmp/storage-text.$$"
message=$(error_box_text) || fail "no error for a capture into a read-only store"
check "a capture into a read-only store is reported: $message" grep -q 'Impossible de créer le fichier.*Texte_004.txt' <<<"$message"
probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$PASTE_HOTKEY" 0
check "the chooser still opens" wait_shown 1 "${CHOOSER[@]}"
# Read whole before matching: a grep that stops at the first match would cut the pipe short.
previews_text() { [[ $(probe child-text "${CHOOSER[@]}" RichEdit20W) =~ [A-Za-z0-9] ]]; }
check "and previews the newest item" eventually previews_text
probe post "${CHOOSER[@]}" "$WM_CLOSE" 0 0
check "the chooser closes" wait_shown 0 "${CHOOSER[@]}"
quit_tessera
check "the index lists the three items, the one its write missed included" \
  test "$(index_rows | cut -d'|' -f2 | tr '\n' ' ')" = "Texte_001.txt Texte_002.txt Texte_003.txt "
echo "storage: all checks passed"
