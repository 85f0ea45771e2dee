#!/bin/sh
# Registers Wenlock.dll with the real regsvr32 of its bitness, checks the registry through reg.exe of
# both bitnesses, unregisters it and checks that nothing is left.
#   regsvr32_wenlock.sh <wine-run> <32|64> <path of Wenlock.dll>
set -u
wine_run=$1
bits=$2
dll="Z:$(printf '%s' "$3" | tr / '\\')"  # an absolute Windows path, so Morvane and dcrf32 are found
other_bits=$((96 - bits))
clsid='{02EA9F6B-2160-4E78-A3B2-E03F6F8B3CAF}'
libid='{F1C9CDEB-B75F-4B95-A58B-3840041A2388}'
class_key="HKCR\\CLSID\\$clsid"

fail() {
  printf "FAIL: %s\n" "$*"
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
query "$bits" "$class_key" /ve | grep -q 'REG_SZ *WenlockCOM Object$' ||
  fail "the class description is not WenlockCOM Object"
query "$bits" "$class_key\\InprocServer32" /ve | grep -qF "$dll" ||
  fail "InprocServer32 is not $dll"
query "$bits" "$class_key\\InprocServer32" /v ThreadingModel | grep -q 'REG_SZ *Apartment$' ||
  fail "ThreadingModel is not Apartment"
query "$bits" "$class_key\\ProgID" /ve | grep -q 'REG_SZ *Wenlock\.WenlockCOM$' ||
  fail "CLSID\\ProgID is not Wenlock.WenlockCOM"
query "$other_bits" 'HKCR\Wenlock.WenlockCOM\CLSID' /ve | grep -qF "$clsid" ||
  fail "ProgID\\CLSID is not $clsid in the $other_bits-bit view"
query "$bits" "HKCR\\TypeLib\\$libid\\1.0\\409\\win$bits" /ve | grep -qF "$dll" ||
  fail "the type library is not registered at $dll"
exists "$other_bits" "$class_key" && fail "the class appears in the $other_bits-bit view"

"$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null || fail "regsvr32 /u $dll failed"
exists "$bits" 'HKCR\Wenlock.WenlockCOM' && fail "the ProgID is left"
exists "$bits" "$class_key" && fail "the CLSID key is left"
exists "$bits" "HKCR\\TypeLib\\$libid" && fail "the type library registration is left"
printf "%s\n" "regsvr32 registered and unregistered Wenlock.WenlockCOM ($bits-bit)"
