#!/usr/bin/env bash
# The preview window on a real display (run under xvfb-run), driven by
# xdotool as a person would: it opens maximised at 100 %, the zoom menu's
# items change the scale, a text on page 2 is found and highlighted, the pages
# are saved as .frp (which loads and opens again) and as PDF (3 pages, the
# text on page 2), and Exit closes the window.
#
# usage: preview_window_x11.sh PREVIEW_PROGRAM PEMVORA_CLI
# Screenshots go to $PEMVORA_TEST_PICTURES when it is set.
set -euo pipefail

program=$1
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shots=${PEMVORA_TEST_PICTURES:-$work/shots}
mkdir -p "$shots"
export PEMVORA_SHOT_DIR=$shots
# Window settings of earlier runs stay out of this one.
export XDG_CONFIG_HOME=$work/config

fail() {
  echo "FAILED: $*" >&2
  [ -f "$work/out.txt" ] && cat "$work/out.txt" >&2
  exit 1
}

# Waits for a window whose title is exactly $1 and gives it the keyboard.
focus_window() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || fail "no window \"$1\""
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.5
  echo "$id"
}

# Waits until no window titled $1 is shown any more.
gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window \"$1\" still open"
}

# Asks the program for a screenshot named $1 and waits for it.
shot() {
  sleep 0.7
  echo "$1" > "$shots/request"
  for _ in $(seq 100); do
    [ -f "$shots/request" ] || { [ -f "$shots/$1.png" ] || fail "no screenshot $1"; return 0; }
    sleep 0.1
  done
  fail "screenshot $1 not taken"
}

"$program" --sample "$work/sample.frp" || fail "no sample report"
"$program" "$work/sample.frp" > "$work/out.txt" 2> "$work/err.txt" &
pid=$!

win=$(focus_window "Preview - Payment list")
read -r width height < <(xdotool getwindowgeometry --shell "$win" | awk -F= '/WIDTH|HEIGHT/ {print $2}' | paste -sd' ')
[ "$width" -ge 1200 ] && [ "$height" -ge 900 ] || fail "the window is ${width}x${height}, not maximised"
shot preview-opened

# Zoom menu: "&Two pages" by its accelerator, then "50%" (the fifth item).
xdotool mousemove --window "$win" 26 16 click 1
shot preview-zoom-menu
sleep 0.5
xdotool key t
shot preview-two-pages
xdotool mousemove --window "$win" 26 16 click 1
sleep 1.5
xdotool key --delay 200 Down Down Down Down Down Return
shot preview-50

# Find a text of page 2.
xdotool key ctrl+f
focus_window "Find text" >/dev/null
xdotool type --delay 20 "subtotal of page"
xdotool key Return
gone "Find text"
shot preview-found

# Save as .frp; the extension is the program's.
xdotool key ctrl+s
focus_window "Save" >/dev/null
xdotool type --delay 10 "$work/saved"
xdotool key Return
gone "Save"
for _ in $(seq 50); do [ -f "$work/saved.frp" ] && break; sleep 0.1; done
[ -f "$work/saved.frp" ] || fail "nothing saved"
"$cli" frp-dump "$work/saved.frp" > "$work/dump.json" || fail "the saved file does not load"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); n=len(d["pages"]); sys.exit(0 if n==3 else "pages: %d" % n)' \
  "$work/dump.json" || fail "the saved file has not 3 pages"

# Save as PDF: the export filter's entry in the dialog's file types.
xdotool key ctrl+s
focus_window "Save" >/dev/null
xdotool type --delay 10 "$work/saved"
xdotool key Tab
sleep 0.3
xdotool key Down
shot preview-save-pdf
xdotool key Return
gone "Save"
for _ in $(seq 100); do [ -f "$work/saved.pdf" ] && break; sleep 0.1; done
[ -f "$work/saved.pdf" ] || fail "no PDF written"
pages=$(pdfinfo "$work/saved.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 3 ] || fail "the PDF has $pages pages, not 3"
pdftotext -f 2 -l 2 "$work/saved.pdf" - | grep -q "Subtotal of page 2: 208,125.00" || fail "the PDF's page 2 lacks its text"

# Open the .frp again in the preview and repeat the search there (F3).
xdotool key ctrl+o
focus_window "Open" >/dev/null
xdotool type --delay 10 "$work/saved.frp"
xdotool key Return
gone "Open"
focus_window "Preview - Payment list" >/dev/null
xdotool key ctrl+Home F3
shot preview-reopened-found

# Exit closes the window.
xdotool mousemove --window "$win" 1 1
xdotool key Escape
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Exit did not close the preview"
wait "$pid" || fail "the preview program failed: $(cat "$work/err.txt")"

cat "$work/out.txt"
grep -qx "opened maximised: yes" "$work/out.txt" || fail "not opened maximised"
grep -qx "zoom at close: 50%" "$work/out.txt" || fail "the zoom menu did not set 50%"
grep -qx "found: Subtotal of page 2: 208,125.00 on page 2" "$work/out.txt" || fail "the text on page 2 was not found"
grep -qx "page at close: Page 2/3" "$work/out.txt" || fail "the found page is not current"
grep -qx "pages after close: 0" "$work/out.txt" || fail "closing the preview kept the pages"
