#!/bin/sh
# Registers the stand-in with the real regsvr32 of its bitness, checks the registry through reg.exe
# of both bitnesses, unregisters it and checks that nothing is left.
#   regsvr32_morlin.sh <wine-run> <32|64> <path of Morlin.dll>
set -u
wine_run=$1
bits=$2
dll="Z:$(printf '%s' "$3" | tr / '\\')"  # an absolute Windows path, so its imports are found
other_bits=$((96 - bits))
clsid='{A647C868-0B8F-4FB1-BFE1-C9544F27D088}'
class_key="HKCR\\CLSID\\$clsid"

fail() {
  echo "FAIL: $*"
  "$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null  # leave the prefix as it was for later tests
  exit 1
}
query() {  # query <bits> <key> [reg options...]: the values as text
  b=$1
  shift
  "$wine_run" "$b" reg query "$@" </dev/null 2>/dev/null | tr -d '\r'
}
exists() {  # exists <bits> <key>
  "$wine_run" "$1" reg query "$2" </dev/null >/dev/null 2>&1
}

"$wine_run" "$bits" regsvr32 /s "$dll" </dev/null || fail "regsvr32 $dll failed"
query "$bits" "$class_key\\InprocServer32" /ve | grep -qF "$dll" ||
  fail "InprocServer32 is not $dll"
query "$bits" "$class_key\\InprocServer32" /v ThreadingModel | grep -q 'REG_SZ *Apartment$' ||
  fail "ThreadingModel is not Apartment"
query "$bits" "$class_key\\ProgID" /ve | grep -q 'REG_SZ *Brackwell\.Morlin$' ||
  fail "CLSID\\ProgID is not Brackwell.Morlin"
# The ProgID is shared by both bitnesses, the CLSID key is not.
query "$other_bits" 'HKCR\Brackwell.Morlin\CLSID' /ve | grep -qF "$clsid" ||
  fail "ProgID\\CLSID is not $clsid in the $other_bits-bit view"
exists "$other_bits" "$class_key" && fail "the class appears in the $other_bits-bit view"

"$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null || fail "regsvr32 /u $dll failed"
exists "$bits" 'HKCR\Brackwell.Morlin' && fail "the ProgID is left"
exists "$bits" "$class_key" && fail "the CLSID key is left"
exists "$bits" 'HKCR\TypeLib\{8C93683C-4AB5-48D9-A70D-F850307D49C0}' &&
  fail "the type library registration is left"
echo "regsvr32 registered and unregistered Brackwell.Morlin ($bits-bit)"
