#!/usr/bin/env bash
# Finding an item by what it says: three texts copied from notepad with Ctrl+Q beside the items
# already there, the chooser opened over a second notepad, a word of the second text typed into
# the search field without its accent, Enter: that text, and no other, arrives in the second
# notepad.
source "$(dirname "$0")/lib.sh"

fresh_install
store="$E2E_DIR/Clipboard"
# Items of an earlier session, listed before the new ones.
mkdir -p "$store"
printf '{\\rtf1\\ansi Facture du garage\\par}' >"$store/Texte_001.txt"
printf '{\\rtf1\\ansi Horaires de la piscine\\par}' >"$store/Texte_002.txt"
printf '2,2\r\ncw 0,64\r\ncw 1,64\r\n0,0,Texte_001\r\n1,0,Texte_001.txt\r\n0,1,Texte_002\r\n1,1,Texte_002.txt\r\n' >"$E2E_DIR/Tessera.FIC"
start_tessera

# Notepad reads these files in the ANSI code page: the accent is code page 1252's.
printf 'Liste des courses pour samedi\r\n' >"$E2E_DIR/one.txt"
printf 'Rendez-vous chez Paul, rue de Montr\xe9al, 14 h\r\n' >"$E2E_DIR/two.txt"
printf 'Mot de passe du wifi : pas ici\r\n' >"$E2E_DIR/three.txt"
n=3
for file in one.txt two.txt three.txt; do
  open_notepad note "$file"
  give_keys "$note"
  keys ctrl+a
  keys ctrl+q
  check "Ctrl+Q files $file as Texte_00$n.txt" wait_file "$store/Texte_00$n.txt" 15
  n=$((n + 1))
done

: >"$E2E_DIR/target.txt"
open_notepad target target.txt
give_keys "$target"
keys ctrl+space
check "Ctrl+Space opens the chooser" wait_shown 1 "${CHOOSER[@]}"
chooser_lines() { test "$(probe list-count "${CHOOSER[@]}")" = "$1"; }
check "the list shows the five items" eventually chooser_lines 5
# A click puts the caret in the search field; the keys then go where the pointer is.
read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "Edit" { print $3; exit }')
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
sleep 0.3
xdotool type --delay 60 montreal
check "the word typed without its accent leaves the second text alone in the list" eventually chooser_lines 1
screenshot=${E2E_SCREENSHOTS:-}
[ -n "$screenshot" ] && import -window root "$screenshot/chooser-search.png"
xdotool key Return
check "Enter closes the chooser" wait_shown 0 "${CHOOSER[@]}"
give_keys "$target"
target_has_it() { probe child-text Notepad 'target.txt - Notepad' Edit | grep -q 'Rendez-vous chez Paul'; }
check "the second text is pasted into the second notepad" eventually target_has_it
only_it() { ! probe child-text Notepad 'target.txt - Notepad' Edit | grep -qE 'courses|garage|piscine|wifi'; }
check "and no other" only_it

quit_tessera
echo "search: all checks passed"
