# Shared by the end-to-end scenarios: a fresh folder with Tessera.exe in it, starting and ending
# it under Wine, and the probe. Needs DISPLAY, WINEPREFIX and the variables ctest passes
# (TESSERA_EXE, E2E_PROBE). Every process a scenario starts is ended by its id on exit.
set -euo pipefail

WINE=${WINE:-/usr/lib/wine/wine64}
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
USER_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The windows the scenarios reach, as CLASS TITLE: the forms' class names and French captions.
MAIN_WINDOW=(TForm1 Tessera)
CHOOSER=(TChoix "Coller...")
SPLASH=(TLogo "Tessera - par l'équipe Tessera")
ABOUT_BOX=(TAboutBox "A propos")

E2E_PIDS=()
# Windows programs a scenario started (notepad.exe, ...): the launcher's id is not always theirs.
E2E_IMAGES=()
# File systems a scenario mounted, innermost last.
E2E_MOUNTS=()
E2E_DIR=$(mktemp -d /tmp/tessera-e2e.XXXXXX)
cleanup() {
  local pid image i
  for image in "${E2E_IMAGES[@]}"; do "$WINE" taskkill /f /im "$image" >/dev/null 2>&1 || true; done
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for ((i = ${#E2E_MOUNTS[@]} - 1; i >= 0; i--)); do umount -l "${E2E_MOUNTS[i]}" 2>/dev/null || true; done
  rm -rf "$E2E_DIR"
}
trap cleanup EXIT

# On a failure, what the clipboard held helps to tell Tessera's fault from the bridge's delay.
fail() {
  echo "FAIL: $*" >&2
  echo "clipboard formats: $("$WINE" "$E2E_PROBE" clipboard-formats 2>/dev/null | tr -d '\r' | tr '\n' ' ')" >&2
  local box
  for box in Erreur Information Confirmation; do
    "$WINE" "$E2E_PROBE" wait "#32770" "$box" 0 >/dev/null 2>&1 &&
      echo "box \"$box\" open: $("$WINE" "$E2E_PROBE" children "#32770" "$box" 2>/dev/null | tr -d '\r' | grep -v '^Button|' | tr '\n' ' ')" >&2
  done
  exit 1
}
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok - $what"; }

# Wine turns the probe's line ends into CR LF.
probe() { "$WINE" "$E2E_PROBE" "$@" | tr -d '\r'; }

# The ids the scenarios post to Tessera, from the program's own constants and the API's, as
# the probe prints them: CMD_SHOW_OPTIONS, CMD_QUIT, CMD_ABOUT, PASTE_HOTKEY, COPY_HOTKEY,
# WM_HOTKEY, WM_CLOSE, VK_END, IDOK, ...
E2E_IDS=$(probe ids) || { echo "FAIL: the probe did not print the ids" >&2; exit 1; }
eval "$E2E_IDS"

# A fresh copy of the program in its own folder: its data lives beside it.
fresh_install() {
  cp "$TESSERA_EXE" "$E2E_DIR/Tessera.exe"
}

start_tessera() {
  (cd "$E2E_DIR" && exec "$WINE" Tessera.exe) &
  TESSERA_PID=$!
  E2E_PIDS+=("$TESSERA_PID")
  # The chooser is the last form start-up makes: once it exists (with its translated caption),
  # the folder, the settings, the hot keys and the tray icon are all in place.
  probe wait "${CHOOSER[@]}" 30 || fail "Tessera did not finish starting"
  # The splash goes last. Hiding a captioned window can hold Wine up to a second when no window
  # manager answers; the accented caption is passed in UTF-8 for Wine to convert.
  LC_ALL=C.UTF-8 probe gone "${SPLASH[@]}" 10 || fail "the splash did not go"
}

# Waits for the program to end by itself; fails after `seconds`.
wait_exit() {
  local seconds=${1:-20} i
  for ((i = 0; i < seconds * 10; i++)); do
    kill -0 "$TESSERA_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "Tessera did not end"
}

quit_tessera() {
  probe command "${MAIN_WINDOW[@]}" "$CMD_QUIT"
  wait_exit 20
}

# Value of KEY in SECTION of an INI file (CR LF lines).
ini_value() {
  local file=$1 section=$2 key=$3
  tr -d '\r' <"$file" | awk -F= -v s="[$section]" -v k="$key" '
    $0 == s { inside = 1; next } /^\[/ { inside = 0 } inside && $1 == k { print substr($0, length(k) + 2); exit }'
}

# Data of a registry value, or nothing.
reg_value() {
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }' || true
}

# Screen size of the display, as "width height".
screen_size() { xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }'; }

# Offers data on the X clipboard as TARGET, read from FILE, until another offer takes the
# clipboard over (the previous xclip then ends by itself: killing it first would empty the
# clipboard, a change of its own). Wine bridges the X clipboard to the Windows one.
x_clipboard_offer() {
  local target=$1 file=$2
  xclip -quiet -selection clipboard -t "$target" -i "$file" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
}

# Posts the copy hot key, then offers FILE on the X clipboard as TARGET, and waits until ITEM is
# filed. On a busy machine Wine's bridge may hold the Windows clipboard through its import for
# longer than Tessera waits, which Tessera reports as it should ("Ne peut ouvrir le
# Presse-papiers"); the box is then closed and the copy made once more.
capture_x_offer() {
  local target=$1 file=$2 item=$3
  post_copy_hot_key
  x_clipboard_offer "$target" "$file"
  wait_file "$item" 15 && return 0
  probe command "#32770" Erreur 1 >/dev/null 2>&1 || true
  probe gone "#32770" Erreur 10 >/dev/null 2>&1 || true
  echo "retrying the X copy of $(basename "$file") once" >&2
  post_copy_hot_key
  x_clipboard_offer "$target" "$file"
  wait_file "$item" 30
}

# Waits until FILE exists and its size stops changing; fails after `seconds`.
wait_file() {
  local file=$1 seconds=${2:-10} i last=-1 size
  for ((i = 0; i < seconds * 10; i++)); do
    if [ -f "$file" ]; then
      size=$(stat -c %s "$file")
      [ "$size" = "$last" ] && [ "$size" -gt 0 ] && return 0
      last=$size
    fi
    sleep 0.1
  done
  return 1
}

# Starts a Windows program in the scenario's folder; it is ended with the scenario.
start_wine_program() {
  (cd "$E2E_DIR" && exec "$WINE" "$@") &
  E2E_PIDS+=($!)
  E2E_IMAGES+=("$(basename "${1//\\//}")")
}

# Opens FILE of the scenario's folder in notepad and sets the variable VAR to its X window; fails
# when it does not open. (Not a command substitution: the program must start in this shell, so
# that the scenario ends it.)
open_notepad() {
  local var=$1 file=$2 window
  start_wine_program notepad.exe "$file"
  window=$(x_window "$(basename "${file//\\//}") - Notepad") || fail "notepad did not open $file"
  printf -v "$var" '%s' "$window"
}

# The same with Wine's wordpad.
open_wordpad() {
  local var=$1 file=$2 window
  start_wine_program 'C:\Program Files\Windows NT\Accessories\wordpad.exe' "$file"
  window=$(x_window "$file - Wine Wordpad") || fail "wordpad did not open $file"
  printf -v "$var" '%s' "$window"
}

# The X window titled exactly TITLE, waiting up to 30 s.
x_window() {
  local i id
  for ((i = 0; i < 300; i++)); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Without a window manager the keys go to the X focus: give it to the window, pointer over it.
give_keys() {
  xdotool windowfocus --sync "$1"
  xdotool mousemove --window "$1" 100 100
  sleep 0.3
}
keys() { xdotool key --clearmodifiers "$@"; sleep 0.3; }

# Clicks the chooser's "Coller" button with the mouse.
click_coller() {
  local x y w h
  read -r x y w h < <(probe children "${CHOOSER[@]}" | awk -F'|' '$1 == "Button" && $2 == "Coller" { print $3 }')
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Waits until the window CLASS TITLE is shown (1) or hidden (0), for up to SECONDS (10).
wait_shown() {
  local want=$1 cls=$2 title=$3 seconds=${4:-10} i
  for ((i = 0; i < seconds * 10; i++)); do
    [ "$(probe rect "$cls" "$title" 2>/dev/null | awk '{ print $5 }')" = "$want" ] && return 0
    sleep 0.1
  done
  return 1
}

# The text of the error box shown now.
shown_error_text() {
  probe children "#32770" Erreur 2>/dev/null | iconv -f cp1252 -t utf-8 | grep -v '^Button|' |
    sed -E 's/^Static\|//; s/\|-?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+\|[01]$//' | grep -v '^$' | tr '\n' ' '
}

# The text of Tessera's error box, once one is shown (within 20 s); the box is then closed (another
# may follow it at once).
error_box_text() {
  probe wait "#32770" Erreur 20 >/dev/null || return 1
  local text i
  text=$(shown_error_text)
  echo "$text"
  probe command "#32770" Erreur 1 >/dev/null
  for ((i = 0; i < 100; i++)); do
    probe wait "#32770" Erreur 0 >/dev/null 2>&1 || return 0
    [ "$(shown_error_text)" != "$text" ] && return 0
    sleep 0.1
  done
  return 1
}

# Posts the copy hot key (the foreground copies nothing), then puts FILE's bytes on the clipboard
# from the Wine side, holding it HOLD_MS afterwards when given.
capture_text_of() {
  post_copy_hot_key
  probe put-text "Z:$1" "${2:-}"
}

# Posts the copy hot key once Tessera is idle, so that it is handled before a copy that follows.
post_copy_hot_key() {
  probe answers "${MAIN_WINDOW[@]}" 120 || fail "Tessera does not answer"
  probe post "${MAIN_WINDOW[@]}" "$WM_HOTKEY" "$COPY_HOTKEY" 0
}

# Waits until COMMAND succeeds; fails after 15 s.
eventually() {
  local i
  for ((i = 0; i < 150; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The observation window of a check that something does NOT happen: COMMAND must keep succeeding
# for SECONDS (whole seconds). There is no event to wait for, so the window is explicit and short;
# it fails at the first try that fails, as soon as the unwanted change shows.
quiet_for() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" || return 1
    sleep 0.1
  done
  "$@"
}

# The store folder holds exactly N files (a function: each try counts again).
store_holds() { test "$(ls "$E2E_DIR/Clipboard" | wc -l)" = "$1"; }

# The chooser's list has line N (from 0) selected.
chooser_line_is() { test "$(probe selected "${CHOOSER[@]}" ListBox)" = "$1"; }

# Types TEXT into the notepad window $notepad in place of its content and files it with Ctrl+Q as
# FILE of $store. A click activates notepad again: once Tessera restarts, the X focus alone does
# not (no window manager here to tell Wine which window is in front).
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

# The rows of the index file, as "display name|file name" lines.
index_rows() {
  tr -d '\r' <"$E2E_DIR/Tessera.FIC" | awk -F, 'NR > 3 { c = $1; r = $2; sub(/^[^,]*,[^,]*,/, ""); cell[r, c] = $0; if (r > n) n = r }
    END { for (i = 0; i <= n; i++) print cell[i, 0] "|" cell[i, 1] }'
}

# Kills Tessera as a crash would: no quit, no saving.
crash_tessera() {
  kill -9 "$TESSERA_PID"
  "$WINE" taskkill /f /im Tessera.exe >/dev/null 2>&1 || true
  wait_exit 20
}
