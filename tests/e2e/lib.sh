# Shared by the end-to-end tests: a fresh Wine prefix per test, Windows paths,
# registry reads and checks that count failures. Source it, then call
# e2e_begin NAME; finish with e2e_end (its status is the test's).
#
# Expects: TREVIK_E2E_ROOT (folder for prefixes), TREVIK_DLL, TREVIK_PAGEHOST,
# TREVIK_CALL_EXPORT, TREVIK_REGISTRY_FIXTURE (Unix paths of the built files)
# and the identifiers TREVIK_CLSID, TREVIK_LIBID, TREVIK_APPID, TREVIK_IID.

e2e_failures=0

CLASSES='HKCU\Software\Classes'
CLSID="{${TREVIK_CLSID:-}}" LIBID="{${TREVIK_LIBID:-}}" APPID="{${TREVIK_APPID:-}}" IID="{${TREVIK_IID:-}}"
CLASS_KEY="$CLASSES\\CLSID\\$CLSID"

e2e_begin() {
  export WINEPREFIX="$TREVIK_E2E_ROOT/$1" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  trap 'wineserver -k 2>/dev/null || true' EXIT
  e2e_work="$WINEPREFIX/drive_c/e2e"
  mkdir -p "$e2e_work"
}

e2e_end() {
  wineserver -w
  if [ "$e2e_failures" -eq 0 ]; then echo "PASS"; return 0; fi
  echo "FAILED: $e2e_failures check(s)"
  return 1
}

# The Windows form of a Unix path (Wine shows / as drive Z:).
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# C:\e2e\... for a path below the prefix's drive C.
cpath() { printf 'C:%s' "${1#"$WINEPREFIX/drive_c"}" | tr '/' '\\'; }

check() { # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; e2e_failures=$((e2e_failures + 1)); fi
}

fails() { ! "$@"; }

check_eq() { # description, expected, actual
  if [ "$2" = "$3" ]; then echo "ok: $1"; else
    echo "FAIL: $1"; echo "    expected: $2"; echo "    actual:   $3"; e2e_failures=$((e2e_failures + 1)); fi
}

# reg query without Wine's carriage returns.
regq() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

key_exists() { wine reg query "$1" >/dev/null 2>&1; }
key_absent() { ! key_exists "$1"; }

# The values of a key as "NAME<TAB>TYPE<TAB>DATA" lines; the default value's
# name is "(Default)".
reg_values() {
  regq "$1" | awk -F '    ' 'NR > 2 && /^$/ { exit } NR > 2 && /^    / { print $2 "\t" $3 "\t" $4 }'
}

# The data and the type of one value: reg_value KEY NAME ("" for the default).
reg_value() { reg_values "$1" | awk -F '\t' -v n="${2:-(Default)}" '$1 == n { print $3 }'; }
reg_type() { reg_values "$1" | awk -F '\t' -v n="${2:-(Default)}" '$1 == n { print $2 }'; }

# The names of a key's values, sorted, on one line.
value_names() { reg_values "$1" | cut -f 1 | sort | tr '\n' ' '; }

# The names of a key's direct subkeys, sorted, on one line.
subkeys() {
  regq "$1" | awk 'NR > 2 && /^HKEY_/' | sed 's/.*\\//' | sort | tr '\n' ' '
}

# Windows merges HKCU\Software\Classes into HKEY_CLASSES_ROOT; Wine 8 does not.
# Activation after a per-user registration needs the merged view, so the
# per-user class keys are copied under HKEY_CLASSES_ROOT for it.
emulate_merged_classes_view() {
  local key
  for key in "$@"; do
    wine reg copy "HKCU\\Software\\Classes\\$key" "HKCR\\$key" /s /f >/dev/null 2>&1 ||
      { echo "FAIL: cannot copy HKCU\\Software\\Classes\\$key into the merged view"; e2e_failures=$((e2e_failures + 1)); }
  done
}

# A copy of the built DLL at C:\e2e\FOLDER\trevik.dll; prints that path.
install_dll() {
  mkdir -p "$e2e_work/$1"
  cp "$TREVIK_DLL" "$e2e_work/$1/trevik.dll"
  cpath "$e2e_work/$1/trevik.dll"
}

# registry-fixture VERB ARGUMENTS (keys below HKEY_CURRENT_USER); see
# RegistryFixtures.cpp. Fails when the fixture does.
registry_fixture() {
  local out status
  out=$(wine "$(winpath "$TREVIK_REGISTRY_FIXTURE")" "$@" 2>&1)
  status=$?
  [ -z "$out" ] || printf '%s\n' "$out" | tr -d '\r'
  return $status
}

# The complete registration, with the class naming the DLL at $1.
check_registered_entries() {
  check_eq "AppID key holds no values" "" "$(value_names "$CLASSES\\AppID")"
  check_eq "AppID entry" "trevik" "$(reg_value "$CLASSES\\AppID\\$APPID" '')"
  check_eq "AppID of the module name" "$APPID" "$(reg_value "$CLASSES\\AppID\\trevik.DLL" AppID)"
  check_eq "versioned ProgID" "ZuTrevikHelper Class" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper.1" '')"
  check_eq "versioned ProgID's class" "$CLSID" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper.1\\CLSID" '')"
  check_eq "ProgID" "ZuTrevikHelper Class" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper" '')"
  check_eq "ProgID's class" "$CLSID" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper\\CLSID" '')"
  check_eq "ProgID's current version" "trevik.ZuTrevikHelper.1" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper\\CurVer" '')"
  check_eq "class name" "ZuTrevikHelper Class" "$(reg_value "$CLASS_KEY" '')"
  check_eq "class key holds only its name" "(Default) " "$(value_names "$CLASS_KEY")"
  check_eq "class key has exactly its five subkeys" \
    "InprocServer32 ProgID Programmable TypeLib VersionIndependentProgID " "$(subkeys "$CLASS_KEY")"
  check_eq "class ProgID" "trevik.ZuTrevikHelper.1" "$(reg_value "$CLASS_KEY\\ProgID" '')"
  check_eq "class version-independent ProgID" "trevik.ZuTrevikHelper" \
    "$(reg_value "$CLASS_KEY\\VersionIndependentProgID" '')"
  check_eq "Programmable holds nothing" "" "$(value_names "$CLASS_KEY\\Programmable")$(subkeys "$CLASS_KEY\\Programmable")"
  check_eq "server path" "$1" "$(reg_value "$CLASS_KEY\\InprocServer32" '')"
  check_eq "threading model" "Apartment" "$(reg_value "$CLASS_KEY\\InprocServer32" ThreadingModel)"
  check_eq "class type library" "$LIBID" "$(reg_value "$CLASS_KEY\\TypeLib" '')"
  check_eq "server path is a string" "REG_SZ" "$(reg_type "$CLASS_KEY\\InprocServer32" '')"
  check_eq "type library registered at the DLL's own path" "$1" \
    "$(reg_value "HKCR\\TypeLib\\$LIBID\\1.0\\0\\win64" '')"
}

check_unregistered_entries() {
  local key
  for key in "trevik.ZuTrevikHelper.1" "trevik.ZuTrevikHelper" "CLSID\\$CLSID" "AppID\\$APPID" "AppID\\trevik.DLL"; do
    check "$key removed" key_absent "$CLASSES\\$key"
  done
  check "CLSID kept" key_exists "$CLASSES\\CLSID"
  check "AppID kept" key_exists "$CLASSES\\AppID"
  check "type library registration removed" key_absent "HKCR\\TypeLib\\$LIBID"
}

call_export() { wine "$(winpath "$TREVIK_CALL_EXPORT")" "$@" 2>&1 | tr -d '\r'; }

# A registry branch flattened to sorted "[key]" and "[key]|value" lines, for
# comparing what a step changed.
flat_export() { # KEY OUTFILE
  local file="$e2e_work/export.reg"
  rm -f "$file"
  if ! wine reg export "$1" "$(cpath "$file")" /y >/dev/null 2>&1; then
    echo "FAIL: cannot export $1"; e2e_failures=$((e2e_failures + 1)); : > "$2"; return
  fi
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' |
    awk '/^\[/ { key = $0; print key; next } /^$/ { next } NR > 1 { print key "|" $0 }' | sort > "$2"
}

# Both branches a registration may touch: the user's keys and the machine-wide
# classes (where the platform registers type libraries).
snapshot() { # NAME
  flat_export HKCU "$e2e_work/$1.user"
  flat_export 'HKLM\Software\Classes' "$e2e_work/$1.machine"
}

# Checks that the snapshots NAME1 and NAME2 are the same; shows the difference.
check_same_snapshot() { # description, NAME1, NAME2
  local part difference
  for part in user machine; do
    difference=$(diff "$e2e_work/$2.$part" "$e2e_work/$3.$part" | head -20)
    check_eq "$1 ($part)" "" "$difference"
  done
}
