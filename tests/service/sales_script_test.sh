#!/bin/sh
# The VBScript sales script of examples/ and the script checks under cscript of the server's bitness,
# on a simulated card, with the answers the compiled client gets.
#   sales_script_test.sh <wine-run> <32|64> <Wenlock.dll> <cardtool.exe> <sales.vbs> <sales_checks.vbs>
set -u
wine_run=$1
bits=$2
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
dll=$(windows_path "$3")
cardtool=$4
sales=$(windows_path "$5")
checks=$(windows_path "$6")
if [ "$bits" = 64 ]; then
  cscript='C:\windows\system32\cscript.exe'
else
  cscript='C:\windows\syswow64\cscript.exe'
fi
work=$(mktemp -d)
export WENLOCK_CARD_IMAGE="$(windows_path "$work/card.txt")"
export WENLOCK_READER_TRACE="$(windows_path "$work/trace.txt")"
cd "$work" || exit 1  # the action log goes here

fail() {
  printf "FAIL: %s\n" "$*"
  "$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null
  rm -rf "$work"
  exit 1
}
script() {  # script <file> [arguments...]: its output without carriage returns
  f=$1
  shift
  "$wine_run" "$bits" "$cscript" //nologo "$f" "$@" </dev/null 2>&1 | tr -d '\r'
}
tool() { "$wine_run" "$bits" "$cardtool" "$@" </dev/null >/dev/null 2>&1 || fail "cardtool $*"; }
expect() {  # expect <output> <line...>: every line is in the output
  output=$1
  shift
  for line in "$@"; do
    printf '%s\n' "$output" | grep -qxF -- "$line" || fail "no line [$line] in:
$output"
  done
}

"$wine_run" "$bits" regsvr32 /s "$dll" </dev/null || fail "regsvr32 $dll failed"

tool issue-m1 1A2B3C4D
out=$(script "$checks")
expect "$out" "checks done"
[ -s "$work/trace.txt" ] && fail "the failed read called the reader: $(cat "$work/trace.txt")"
out=$(script "$sales" text 038)
expect "$out" "ReadErrorInfo 038 = 038" "sales done"

# A card the reader cannot identify: every value empty but factory and the read mode passed in.
tool fault type_codes A1
out=$(script "$sales" read 1)
expect "$out" "Read_Card errCode = 034 (card not identified)" "  factory = A" "  code3 = 1"
filled=$(printf '%s\n' "$out" | grep -c '^  [A-Za-z0-9]* = .')
[ "$filled" = 2 ] || fail "$filled values filled on an unidentified card:
$out"

# A sale to a terminal card, read before and after the terminal answers.
tool issue-m1 1A2B3C4D
out=$(script "$sales" sell 1 330100012001 12345 10 0)
expect "$out" "Write_Card errCode = 00 (success)" "sales done"
out=$(script "$sales" read 1)
expect "$out" "Read_Card errCode = 038 (card area empty (the meter has not answered yet))" \
  "  cardNo = 330100012001" "  code1 = 01" "  code2 = 12345"
tool answer
out=$(script "$sales" read 0)
expect "$out" "Read_Card errCode = 000 (success)" "  factory = A" "  cardNo = 330100012001" \
  "  leftPower = 10" "  totalBuy = 10" "  code1 = 01" "  code2 = 12345" "  code3 = 0" \
  "  code4 = 0" "sales done"

"$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null || fail "regsvr32 /u $dll failed"
rm -rf "$work"
printf "%s\n" "sales script checks passed ($bits-bit)"
