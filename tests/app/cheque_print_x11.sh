#!/bin/bash
# The cheque window's "打印" in the real program on a real X display, driven
# with xdotool like an operator: a new cheque is saved and previewed; a stored
# cheque is previewed as shown and nothing is saved; with its template file
# removed the operator is told which file is missing and nothing is shown.
# Screen grabs go to $PEMVORA_TEST_PICTURES (when set) as cheque-*.png.
#
#   xvfb-run -a -s "-screen 0 1280x1024x24" cheque_print_x11.sh PEMVORA PEMVORA_CLI SCREEN_GRAB
set -euo pipefail

program=$(realpath "$1")
cli=$(realpath "$2")
grab=$(realpath "$3")

work=$(mktemp -d)
shots=${PEMVORA_TEST_PICTURES:-$work/shots}
mkdir -p "$shots"
shots=$(realpath "$shots")
# Window settings of earlier runs stay out of this one.
export XDG_CONFIG_HOME=$work/config
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  "$grab" "$shots/cheque-failure.png" || true
  cat "$work/program.log" >&2 || true
  "$cli" cheques --db "$work/banck.mdb" | tail -n 2 >&2 || true
  exit 1
}

# The id of the visible window with this exact title, waiting up to 10 s.
window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

no_window() {
  sleep 1
  ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

type_text() { xdotool type --delay 120 "$1"; sleep 0.2; }
key() { xdotool key --delay 60 "$@"; }
# Clicks the button whose top-left corner is (x, y) in the window, 58 x 27 or wider.
click() { xdotool mousemove --window "$1" $(($2 + 20)) $(($3 + 12)) click 1; }

stored() { "$cli" cheques --db "$work/banck.mdb" | tail -n +2 | wc -l; }
bank_of() { "$cli" cheques --db "$work/banck.mdb" | awk -F'\t' -v n="$1" '$1 == n { print $5 }'; }
payee_of() { "$cli" cheques --db "$work/banck.mdb" | awk -F'\t' -v n="$1" '$1 == n { print $7 }'; }

cd "$work"
"$cli" make-db banck.mdb --demo >/dev/null
"$cli" make-templates . >/dev/null
PEMVORA_PRINTERS=none "$program" >"$work/program.log" 2>&1 &
pid=$!

login=$(window "Pemvora－登录") || fail "no login window"
xdotool windowfocus --sync "$login"
key ctrl+a
type_text admin
xdotool mousemove --window "$login" 132 49 click 1   # the password box
type_text 579
key Return

form=$(window "Pemvora V2.0") || fail "no cheque window"
xdotool windowfocus --sync "$form"
sleep 0.5
before=$(stored)

# ---- A new cheque: 打印 saves it and shows the preview.
click "$form" 217 307   # 增加: the focus goes to the cheque type
sleep 0.3
key Tab Tab             # the date stays today's; on to the amount
type_text 2045.67
key Tab Tab             # over the print mode to the payee
type_text 中关村科技园物业管理有限公司
key Tab
type_text 90000001
key Tab
type_text 建设银行北京朝阳支行
key Tab Tab
type_text 房租
sleep 0.3
"$grab" "$shots/cheque-new-filled.png"
click "$form" 353 307   # 打印
preview=$(window "Preview") || fail "打印 on a new cheque showed no preview"
sleep 1
"$grab" "$shots/cheque-new-preview.png"
[ "$(stored)" -eq $((before + 1)) ] || fail "打印 did not save the new cheque"
[ "$(payee_of 90000001)" = 中关村科技园物业管理有限公司 ] || fail "the saved cheque has another payee"
[ "$(bank_of 90000001)" = 建设银行北京朝阳支行 ] || fail "the saved cheque has another bank"
xdotool windowfocus --sync "$preview"
key Escape
no_window "Preview" || fail "the preview did not close"

# ---- The stored cheque, its payee changed on the screen: printed as shown, nothing saved.
xdotool windowfocus --sync "$form"
xdotool mousemove --window "$form" 360 147 click 1   # the payee box
key ctrl+a
type_text 北京华联商厦有限公司
click "$form" 353 307
preview=$(window "Preview") || fail "打印 on a stored cheque showed no preview"
sleep 1
"$grab" "$shots/cheque-stored-preview.png"
[ "$(stored)" -eq $((before + 1)) ] || fail "打印 on a stored cheque saved a row"
[ "$(payee_of 90000001)" = 中关村科技园物业管理有限公司 ] || fail "打印 on a stored cheque changed it"
xdotool windowfocus --sync "$preview"
key Escape
no_window "Preview" || fail "the preview did not close"

# ---- Its template file removed: the operator is told, nothing is shown.
mv carry1.frf carry1.frf.away
xdotool windowfocus --sync "$form"
click "$form" 353 307
message=$(window "提示") || fail "no message about the missing template"
sleep 0.5
"$grab" "$shots/cheque-missing-template.png"
no_window "Preview" || fail "a preview was shown without the template"
xdotool windowfocus --sync "$message"
key Return
[ "$(stored)" -eq $((before + 1)) ] || fail "a row was saved"
mv carry1.frf.away carry1.frf

echo "cheque printing on X: all checks passed; pictures in $shots"
