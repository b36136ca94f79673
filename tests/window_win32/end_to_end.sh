#!/usr/bin/env bash
# The real program under Wine, driven from another process: the game registered with reg.exe in
# the 32-bit view as its installer does, an add-on folder handed over as the argument, Read and
# Write pressed. Checks what the window shows and what lands on the disk.
# Usage: end_to_end.sh <wine> <program_driver.exe> <rv-addon-installer.exe>
set -euo pipefail
wine=$1 driver=$2 program=$3
key='HKLM\SOFTWARE\Zentor Technology\Installed Apps\RV2004'
root="$WINEPREFIX/drive_c/rv end-to-end"
game="$root/Game & Co" addon="$root/Add-on ä"
trap 'rm -rf "$root"; "$wine" reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true' EXIT

rm -rf "$root"
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
[ ! -e "$game/Docs" ] && [ ! -e "$game/Readme.txt" ]
echo "end-to-end run passed"
