#!/usr/bin/env bash
# The real program under Wine, driven from another process: the game registered with reg.exe in
# the 32-bit view as its installer does, an add-on folder handed over as the argument, Read and
# Write pressed; then the same .exe as a command line. Checks what the window shows, what the
# command line prints and returns, and what lands on the disk.
# Usage: end_to_end.sh <wine> <program_driver.exe> <console_driver.exe> <rv-addon-installer.exe>
set -euo pipefail
trap 'echo "end_to_end.sh: line $LINENO failed" >&2' ERR
wine=$1 driver=$2 console=$3 program=$4
key='HKLM\SOFTWARE\Zentor Technology\Installed Apps\RV2004'
root="$WINEPREFIX/drive_c/rv end-to-end"
game="$root/Game & Co" addon="$root/Add-on ä"
data=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Local)/rv-addon-installer  # the receipts
cleanup() {
    rm -rf "$root"
    grep -l 'rv end-to-end' "$data"/*.json 2>/dev/null | xargs -r -d '\n' rm || true
    "$wine" reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true
}
trap cleanup EXIT

cleanup
for folder in Maps System Textures Sounds Music Animations StaticMeshes; do
    mkdir -p "$game/$folder"
done
mkdir -p "$addon/Maps" "$addon/Deep/System" "$addon/Docs"
echo map >"$addon/Maps/DM-Harbour.rv2"
echo package >"$addon/Deep/System/Harbour.u"
echo settings >"$addon/Deep/System/Harbour.int"
echo readme >"$addon/Docs/Readme.txt"
echo installed >"$game/System/Harbour.int"
"$wine" reg add "$key" /v Folder /d 'C:\rv end-to-end\Game & Co' /f /reg:32 >/dev/null

actual=$("$wine" "$driver" "$program" 'C:\rv end-to-end\Add-on ä' cmd_read cmd_write | tr -d '\r')
expected="title: Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)
lbl_Mods: C:\\rv end-to-end\\Add-on ä
cmd_read: 2 File(s) are ready to write - 3 File(s) checked!
cmd_write: Ready to play - 2 File(s) written!
exit code: 0"
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
cmp "$addon/Maps/DM-Harbour.rv2" "$game/Maps/DM-Harbour.rv2"
cmp "$addon/Deep/System/Harbour.u" "$game/System/Harbour.u"
[ "$(cat "$game/System/Harbour.int")" = installed ]
[ ! -e "$game/Docs" ]
[ ! -e "$game/Readme.txt" ]

# The command line. A script reads it through pipes; typed in a console, Windows hands the
# windowed .exe no streams at all, and console_driver shows what reached that console.
# expect <pipe|console> <output, with receipt names and times as TIME and rows of zeros left
# out> <argument>...
expect() {
    local how=$1 expected=$2
    shift 2
    if [ "$how" = console ]; then
        raw=$("$wine" "$console" "$program" "$@" | tr -d '\r')
    else
        raw=$("$wine" "$program" "$@" 2>&1 </dev/null | tr -d '\r'; echo "exit code: ${PIPESTATUS[0]}")
    fi
    local actual
    actual=$(sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[^ ]+/TIME/g; /^\w+( +0){4}$/d' <<<"$raw")
    if [ "$actual" != "$expected" ]; then
        echo "$how $*:"
        diff <(echo "$expected") <(echo "$actual") || true
        exit 1
    fi
}
g='C:\rv end-to-end\Game & Co' a='C:\rv end-to-end\Add-on ä'
columns='                          read         written   already exist  ready to write'

expect console "TIME  installed  TIME  2 File(s) written, 2 still as written
  $a -> $g
exit code: 0" --list --game "$g"
receipt=${raw%% *}
expect pipe "  deleted Maps/DM-Harbour.rv2
  deleted System/Harbour.u
Removed - 2 File(s) deleted - 0 File(s) kept!
exit code: 0" --remove "$receipt" --yes
[ ! -e "$game/Maps/DM-Harbour.rv2" ]
[ ! -e "$game/System/Harbour.u" ]
[ "$(cat "$game/System/Harbour.int")" = installed ]
# Without --game the folder comes from the registry, as for the window.
expect pipe "$columns
Maps                         1               0               0               1
System                       2               0               1               1
Total                        3               0               1               2
2 File(s) are ready to write - 3 File(s) checked!
1 File(s) already there in another version would not be replaced (see Files of the last pass)
exit code: 0" --read "$a"
expect pipe "$columns
Maps                         1               1               0               1
System                       2               1               1               1
Total                        3               2               1               2
Ready to play - 2 File(s) written!
Receipt: TIME
1 File(s) already there in another version were not replaced (see Files of the last pass)
exit code: 0" --write "$a" --game "$g"
cmp "$addon/Maps/DM-Harbour.rv2" "$game/Maps/DM-Harbour.rv2"
[ -f "$data/$(sed -n 's/^Receipt: //p' <<<"$raw")" ]
# Ctrl+C in the console during --write: nothing more is copied, nothing unfinished stays, what
# was written keeps its receipt, and the last line says so; the exit status is 130.
mkdir -p "$root/Many" "$root/Game 2"/{Maps,System,Textures,Sounds,Music,Animations,StaticMeshes}
for n in $(seq 2000); do echo $n >"$root/Many/Many-$n.rv2"; done
g2='C:\rv end-to-end\Game 2'
raw=$("$wine" "$console" --ctrl-c-when "$g2\Maps" "$program" --write 'C:\rv end-to-end\Many' \
    --game "$g2" | tr -d '\r')
[ "$(tail -1 <<<"$raw")" = "exit code: 130" ]
written=$(ls "$root/Game 2/Maps" | grep -c '^Many-[0-9]*\.rv2$')
grep -q "^Stopped - $written File(s) written! Their receipt is kept: " <<<"$raw"
[ "$written" -gt 0 ] && [ "$written" -lt 2000 ]
[ "$(ls -A "$root/Game 2/Maps" | wc -l)" = "$written" ]
expect console "TIME  installed  TIME  $written File(s) written, $written still as written
  C:\rv end-to-end\Many -> $g2
exit code: 0" --list --game "$g2"
# Bad arguments: status 2, and the reason on standard error.
status=0
"$wine" "$program" --rread "$a" 2>"$root/errors" >/dev/null || status=$?
[ $status = 2 ]
[ "$(head -1 "$root/errors")" = $'rv-addon-installer: unknown argument --rread\r' ]
echo "end-to-end run passed"
