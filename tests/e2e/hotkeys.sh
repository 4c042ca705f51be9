#!/usr/bin/env bash
# The hot keys' edge cases with the real keyboard: Ctrl+Q towards a window that copies nothing
# leaves the capture pending for the next copy, made in another program; an image item pasted puts a bitmap
# of its size on the clipboard without filing that write; both hot keys do nothing while the
# chooser is open; the copy goes to the window in front, not to another of the same title.
source "$(dirname "$0")/lib.sh"

fresh_install
start_tessera
store="$E2E_DIR/Clipboard"

: >"$E2E_DIR/blank.txt"
open_notepad notepad blank.txt
give_keys "$notepad"

# Nothing selected in an empty notepad: its Ctrl+C leaves the clipboard alone.
keys ctrl+q
# Nothing shows that the copy was tried: watch the store for two seconds.
check "Ctrl+Q towards a window that copies nothing files nothing" quiet_for 2 store_holds 0
# The next copy is an ordinary Ctrl+C in another program (copies from the X side are filed too:
# capture.sh; under load Wine's bridge may hand over an empty text, so this one stays in Wine).
printf 'copie faite ailleurs\r\n' >"$E2E_DIR/elsewhere.txt"
open_notepad elsewhere elsewhere.txt
give_keys "$elsewhere"
keys ctrl+a
keys ctrl+c
check "the next copy, made elsewhere, is filed" wait_file "$store/Texte_001.txt" 15
holds_copy() { grep -aq "copie faite ailleurs" "$store/Texte_001.txt" || { head -c 600 "$store/Texte_001.txt" >&2; false; }; }
check "and holds that copy" holds_copy

# Back to the empty notepad, whose Ctrl+C copies nothing, so the bitmap offered from X is filed.
give_keys "$notepad"
convert -size 40x30 xc:orange BMP3:"$E2E_DIR/orange.bmp"
check "a bitmap copy is filed" capture_x_offer image/bmp "$E2E_DIR/orange.bmp" "$store/Image_001.bmp"

# The newest item, the image, is preselected; Coller puts it on the clipboard.
give_keys "$notepad"
keys ctrl+space
check "Ctrl+Space opens the chooser" wait_shown 1 "${CHOOSER[@]}"
click_coller
check "Coller closes it" wait_shown 0 "${CHOOSER[@]}"
clipboard_bitmap() { [ "$(probe clipboard-bitmap)" = "40 30" ]; }
check "the clipboard holds a bitmap of the item's size" eventually clipboard_bitmap
# The write is a clipboard change like any other: two quiet seconds show that it was not filed.
check "and that write filed nothing" quiet_for 2 store_holds 2

# While the chooser is open both hot keys are ignored: notepad has a selection, so a copy
# command that ran would file a third item.
give_keys "$notepad"
xdotool type --delay 30 'du texte'
keys ctrl+a
keys ctrl+space
check "the chooser opens again" wait_shown 1 "${CHOOSER[@]}"
give_keys "$notepad"
keys ctrl+q
keys ctrl+space
# Ignored keys leave nothing to wait for: watch the store for two seconds.
check "Ctrl+Q while it is open files nothing" quiet_for 2 store_holds 2
no_message_box() { ! probe wait "#32770" Information 0.5; }
check "Ctrl+Space while it is open opens no message box" no_message_box
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "Button" && $2 == "Annuler" { print $3 }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
check "Annuler closes it" wait_shown 0 "${CHOOSER[@]}"
# A command the open chooser held back would run once it closes: watch a second.
check "and still nothing was filed" quiet_for 1 store_holds 2

# Two notepads of one title: Ctrl+Q in the one a search by title does not find files its own
# selection.
mkdir "$E2E_DIR/a" "$E2E_DIR/b"
printf 'the first namesake\r\n' >"$E2E_DIR/a/twin.txt"
printf 'the second namesake\r\n' >"$E2E_DIR/b/twin.txt"
start_wine_program notepad.exe 'a\twin.txt'
first=$(x_window 'twin.txt - Notepad') || fail "the first notepad did not open"
# Kept above the other windows, the first is the one a search by title finds.
probe topmost Notepad 'twin.txt - Notepad'
start_wine_program notepad.exe 'b\twin.txt'
second_window() { xdotool search --name '^twin.txt - Notepad$' | grep -vx "$first"; }
second=$(eventually second_window) || fail "the second notepad did not open"
xdotool windowmove "$first" 0 0 windowmove "$second" 500 300
give_keys "$second"
check "a search by title finds the first notepad" test "$(probe child-text Notepad 'twin.txt - Notepad' Edit)" = 'the first namesake'
keys ctrl+a
keys ctrl+q
check "Ctrl+Q in the second files an item" wait_file "$store/Texte_002.txt" 15
check "holding the second's selection" grep -q 'the second namesake' "$store/Texte_002.txt"

quit_tessera
echo "hotkeys: all checks passed"
