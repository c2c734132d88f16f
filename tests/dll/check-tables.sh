#!/usr/bin/env bash
# Checks the built DLL's export and import tables and its type library resource:
# exactly the five exports by name with ordinals 1 to 5 under the library name
# "trevik.DLL", imports from the allowed system DLLs and the C runtime only.
set -u
dll=$1
objdump=x86_64-w64-mingw32-objdump
status=0
fail() { echo "FAIL: $*"; status=1; }

headers=$($objdump -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }

name=$(printf '%s\n' "$headers" | sed -n 's/^Name[[:space:]]\+[0-9a-f]\+ \(.*\)$/\1/p')
[ "$name" = "trevik.DLL" ] || fail "export table names the library '$name'"

base=$(printf '%s\n' "$headers" | sed -n 's/^Ordinal Base[[:space:]]\+\([0-9]\+\)$/\1/p')
[ "$base" = "1" ] || fail "ordinal base is '$base'"

# "[   0] +base[   1] 1370 Export RVA" rows give ordinals; the name table gives names.
ordinals=$(printf '%s\n' "$headers" | sed -n '/^Export Address Table -- Ordinal Base/,/^$/s/.*+base\[ *\([0-9]\+\)\].*/\1/p' | tr '\n' ' ')
[ "$ordinals" = "1 2 3 4 5 " ] || fail "export ordinals are '$ordinals'"
names=$(printf '%s\n' "$headers" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *\([0-9]\+\)\] \(.*\)$/\1:\2/p' | tr '\n' ' ')
expected="0:DllCanUnloadNow 1:DllGetClassObject 2:DllInstall 3:DllRegisterServer 4:DllUnregisterServer "
[ "$names" = "$expected" ] || fail "exported names are '$names'"

allowed="kernel32.dll user32.dll advapi32.dll ole32.dll oleaut32.dll msvcrt.dll"
imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: \(.*\)$/\1/p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no import table found"
for import in $imports; do
  case " $allowed " in
    *" $import "*) ;;
    *) fail "imports from $import" ;;
  esac
done

resources=$(wrestool -l "$dll")
printf '%s\n' "$resources" | grep -q -- "--type='TYPELIB' --name=1 --language=1033" ||
  fail "no TYPELIB 1 resource in language 1033"

[ $status -eq 0 ] && echo "export table, import table and type library resource are as required"
exit $status
