#!/usr/bin/env bash
# Copies made on the X side while a capture is pending are filed as numbered items: a bitmap,
# then a text (numbers run per prefix, so the text is Texte_001); a clipboard that holds only
# PNG (a private format on the Windows side) files nothing.
source "$(dirname "$0")/lib.sh"

fresh_install
start_tessera
store="$E2E_DIR/Clipboard"

convert -size 64x48 gradient:red-blue -fill yellow -draw 'rectangle 5,5 20,15' BMP3:"$E2E_DIR/source.bmp"
check "a bitmap copy is filed as Image_001.bmp" capture_x_offer image/bmp "$E2E_DIR/source.bmp" "$store/Image_001.bmp"
check "with the source's size" test "$(identify -format '%w %h' "$store/Image_001.bmp")" = "64 48"
check "and its pixels" test "$(compare -metric AE "$E2E_DIR/source.bmp" "$store/Image_001.bmp" null: 2>&1)" = 0

printf 'Bonjour depuis X\n' >"$E2E_DIR/source.txt"
check "a text copy is filed as Texte_001.txt" capture_x_offer UTF8_STRING "$E2E_DIR/source.txt" "$store/Texte_001.txt"
check "as rich text holding the copied line" grep -q 'Bonjour depuis X' "$store/Texte_001.txt"
check "in RTF" grep -q '^{\\rtf' "$store/Texte_001.txt"

convert -size 10x10 xc:green PNG:"$E2E_DIR/source.png"
probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$COPY_HOTKEY" 0
x_clipboard_offer image/png "$E2E_DIR/source.png"
# Once the bridge has put the PNG on the Windows clipboard, Tessera has been told of the change.
png_on_clipboard() { probe clipboard-has PNG; }
eventually png_on_clipboard || fail "the PNG did not reach the Windows clipboard"
# A capture follows the change at once: two quiet seconds show that none came.
check "a PNG-only clipboard files nothing" quiet_for 2 store_holds 2

quit_tessera
check "the index file lists both items" bash -c 'tr -d "\r" <"$0" | grep -qx "1,0,Image_001.bmp" && tr -d "\r" <"$0" | grep -qx "1,1,Texte_001.txt"' "$E2E_DIR/Tessera.FIC"
echo "capture: all checks passed"
