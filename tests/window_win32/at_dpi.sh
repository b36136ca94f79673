#!/usr/bin/env bash
# Runs a test program under Wine with the screen at the given dots per inch (Wine's LogPixels,
# read by each process as it starts), and puts 96 back afterwards.
# Usage: at_dpi.sh <wine> <dpi> <program.exe> [arguments...]
set -euo pipefail
wine=$1 dpi=$2
shift 2
key='HKCU\Control Panel\Desktop'
restore() { "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1; }
trap restore EXIT
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$wine" "$@"
