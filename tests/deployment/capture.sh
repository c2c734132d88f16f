#!/usr/bin/env bash
# trevik-regcapture captures the registration without touching the live
# registry; its .reg file, imported with regedit into a fresh prefix, writes
# what regsvr32 writes, and script hosts then use the helper by both ProgIDs.
set -u
. "$(dirname "$0")/../e2e/lib.sh"

# Runs the capture tool; its messages go to $e2e_work/capture.out.
regcapture() { wine "$(winpath "$TREVIK_REGCAPTURE")" "$@" >"$e2e_work/capture.out" 2>&1; }

# What changed between two snapshots, as "<" (gone) and ">" (new) lines. The
# copy of the interface keys that the platform's type-library registration
# makes in the 32-bit view is left out: it is the platform's, and a 64-bit
# library is never loaded by a 32-bit client.
registry_changes() { # NAME1 NAME2
  local part
  for part in user machine; do
    diff "$e2e_work/$1.$part" "$e2e_work/$2.$part" | grep '^[<>]' | grep -v 'Wow6432Node\\Interface\\'
  done
}

# A .reg file and an installer fragment as "ROOT\key" and "ROOT\key|name=data" lines.
reg_file_entries() {
  iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' | awk '
    /^\[/ { key = substr($0, 2, length($0) - 2)
            sub(/^HKEY_CLASSES_ROOT/, "HKCR", key); sub(/^HKEY_CURRENT_USER/, "HKCU", key)
            sub(/^HKEY_LOCAL_MACHINE/, "HKLM", key); print key; next }
    key != "" && /=/ { at = index($0, "="); name = substr($0, 1, at - 1); data = substr($0, at + 1)
                       gsub(/^"|"$/, "", name); gsub(/^"|"$/, "", data); print key "|" name "=" data }' |
    sed 's/\\\\/\\/g'
}
fragment_entries() {
  awk 'function attribute(name,  text) {
         if (!match($0, " " name "=\"[^\"]*\"")) return ""
         text = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", text); sub(/"$/, "", text); return text }
       /<RegistryKey / { key = attribute("Root") "\\" attribute("Key"); print key }
       /<RegistryValue / { name = attribute("Name"); print key "|" (name == "" ? "@" : name) "=" attribute("Value") }' "$1"
}

manifest_class_attribute() { sed -n "s/.*<comClass [^>]* $1=\"\([^\"]*\)\".*/\1/p" "$TREVIK_ASSEMBLY_MANIFEST"; }

# The capturing prefix: the library in a staging folder, captured for C:\e2e\app.
e2e_begin capture
capture_work=$e2e_work
mkdir -p "$e2e_work/stage" "$e2e_work/app"
cp "$TREVIK_DLL" "$e2e_work/stage/trevik.dll"
staged=$(cpath "$e2e_work/stage/trevik.dll")
app=$(cpath "$e2e_work/app")

snapshot before
check "capture as a .reg file" regcapture --install-dir "$app" "$staged" 'C:\e2e\trevik.reg'
check "capture through DllInstall(TRUE, \"user\")" regcapture --user --install-dir "$app" "$staged" 'C:\e2e\user.reg'
check "capture as an installer fragment" regcapture --wix --install-dir "$app" "$staged" 'C:\e2e\trevik.wxs'
check "capture as an installer fragment for a folder reference" \
  regcapture --wix --install-dir '[INSTALLFOLDER]' "$staged" 'C:\e2e\folder-reference.wxs'
snapshot captured
check_same_snapshot "the captures leave the live registry as it was" before captured
check "DllInstall(TRUE, \"user\") writes what DllRegisterServer writes" cmp -s "$e2e_work/trevik.reg" "$e2e_work/user.reg"
check_eq "the installer fragment carries the .reg file's data" \
  "$(reg_file_entries "$e2e_work/trevik.reg")" "$(fragment_entries "$e2e_work/trevik.wxs")"
check "a folder reference is followed by the file name" \
  grep -q 'Value="\[INSTALLFOLDER\]trevik.dll"' "$e2e_work/folder-reference.wxs"
check "a folder reference stands for the help folder" grep -q 'Value="\[INSTALLFOLDER\]"' "$e2e_work/folder-reference.wxs"

cp "$TREVIK_DLL" "$e2e_work/app/trevik.dll"
check "regsvr32 registers the library in the install folder" wine regsvr32 /s "$app\\trevik.dll"
snapshot registered
registry_changes before registered >"$capture_work/regsvr32.changes"
wineserver -k

# A fresh prefix where the captured file is imported instead.
e2e_begin capture-import
mkdir -p "$e2e_work/app" "$e2e_work/bin"
cp "$TREVIK_DLL" "$e2e_work/app/trevik.dll"
cp "$TREVIK_PAGEHOST" "$e2e_work/bin/trevikpagehost.dll"
cp "$capture_work/trevik.reg" "$e2e_work/trevik.reg"

snapshot before
check "regedit imports the captured file" wine regedit /s 'C:\e2e\trevik.reg'
snapshot imported
check_eq "the import writes what regsvr32 writes" \
  "$(cat "$capture_work/regsvr32.changes")" "$(registry_changes before imported)"

check_eq "the assembly manifest's threading model is the registered one" \
  "$(reg_value "$CLASS_KEY\\InprocServer32" ThreadingModel)" "$(manifest_class_attribute threadingModel)"
check_eq "the assembly manifest's ProgID is the registered one" \
  "$(reg_value "$CLASS_KEY\\ProgID" '')" "$(manifest_class_attribute progid)"
check_eq "the assembly manifest's version-independent ProgID is the registered one" \
  "$(reg_value "$CLASS_KEY\\VersionIndependentProgID" '')" \
  "$(sed -n 's/.*<progid>\([^<]*\)<\/progid>.*/\1/p' "$TREVIK_ASSEMBLY_MANIFEST")"

check "register the sample page server" wine regsvr32 /s 'C:\e2e\bin\trevikpagehost.dll'
emulate_merged_classes_view "CLSID\\$CLSID" trevik.ZuTrevikHelper trevik.ZuTrevikHelper.1
output=$(for script in frames.js frames.vbs; do
  wine cscript //nologo "$(winpath "$TREVIK_FRAMES_SCRIPTS/$script")" 2>&1
done | tr -d '\r')
check_eq "scripts get the frame documents by both ProgIDs" "$(cat "$TREVIK_FRAMES_SCRIPTS/frames.expected")" "$output"

e2e_end
