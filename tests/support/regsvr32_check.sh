#!/bin/sh
# Registers a COM server DLL with the real regsvr32 of its bitness, checks the registry through
# reg.exe of both bitnesses, unregisters it and checks that nothing is left.
#   regsvr32_check.sh <wine-run> <32|64> <dll path> <CLSID> <LIBID> <ProgID> <class description>
set -u
wine_run=$1
bits=$2
dll="Z:$(printf '%s' "$3" | tr / '\\')"  # an absolute Windows path, so the DLL's imports are found
clsid=$4
libid=$5
prog_id=$6
description=$7
other_bits=$((96 - bits))
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
has_value() {  # has_value <bits> <key> <text the default value ends with>
  query "$1" "$2" /ve | grep -qF -- "$3"
}

"$wine_run" "$bits" regsvr32 /s "$dll" </dev/null || fail "regsvr32 $dll failed"
has_value "$bits" "$class_key" "$description" || fail "the class description is not $description"
has_value "$bits" "$class_key\\InprocServer32" "$dll" || fail "InprocServer32 is not $dll"
query "$bits" "$class_key\\InprocServer32" /v ThreadingModel | grep -q 'REG_SZ *Apartment$' ||
  fail "ThreadingModel is not Apartment"
has_value "$bits" "$class_key\\ProgID" "$prog_id" || fail "CLSID\\ProgID is not $prog_id"
# The ProgID is shared by both bitnesses, the CLSID key is not.
has_value "$other_bits" "HKCR\\$prog_id\\CLSID" "$clsid" ||
  fail "ProgID\\CLSID is not $clsid in the $other_bits-bit view"
has_value "$bits" "HKCR\\TypeLib\\$libid\\1.0\\409\\win$bits" "$dll" ||
  fail "the type library is not registered at $dll"
exists "$other_bits" "$class_key" && fail "the class appears in the $other_bits-bit view"

"$wine_run" "$bits" regsvr32 /s /u "$dll" </dev/null || fail "regsvr32 /u $dll failed"
exists "$bits" "HKCR\\$prog_id" && fail "the ProgID is left"
exists "$bits" "$class_key" && fail "the CLSID key is left"
exists "$bits" "HKCR\\TypeLib\\$libid" && fail "the type library registration is left"
printf "%s\n" "regsvr32 registered and unregistered $prog_id ($bits-bit)"
