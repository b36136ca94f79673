#!/usr/bin/env bash
# Times a write pass onto FAT32, exFAT and NTFS mounted through FUSE from image files against
# `cp -n` of the same files onto the same mount, each into a fresh game folder. Needs root (for
# the loop device exFAT takes), /dev/fuse and scripts/install-deps test.
#
#   bench/fuse_write_bench.sh PROGRAM [FILES [KIB]]
#
# PROGRAM is the built rv-addon-installer; the add-on holds FILES files (default 300) of KIB
# KiB each (default 64), spread over four kinds. Prints the median of three rounds of each.
set -euo pipefail
program=$(realpath "$1")
files=${2:-300}
kib=${3:-64}
export PATH=$PATH:/usr/sbin:/sbin
work=$(mktemp -d /tmp/rv-fuse-bench.XXXXXX)
trap 'umount "$work/mnt" 2>/dev/null || true; [ ! -f "$work/loop" ] || losetup -d "$(cat "$work/loop")"; rm -rf "$work"' EXIT

endings=(u rv2 utx uax)
mkdir -p "$work/add/Pack"
for ((i = 0; i < files; i++)); do
    head -c $((kib * 1024)) /dev/urandom >"$work/add/Pack/file$i.${endings[i % 4]}"
done
export XDG_DATA_HOME=$work/data  # the receipts

game() {  # a fresh game folder on the mount
    mkdir -p "$1"/{Animations,Maps,Music,Sounds,StaticMeshes,System,Textures}
}
seconds() {  # runs the command and prints how long it took
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
copy_by_cp() {
    cp -n "$work"/add/Pack/*.u "$1/System/" && cp -n "$work"/add/Pack/*.rv2 "$1/Maps/" &&
        cp -n "$work"/add/Pack/*.utx "$1/Textures/" && cp -n "$work"/add/Pack/*.uax "$1/Sounds/"
}
median() { sort -n | sed -n 2p; }

mount_kind() {
    rm -f "$work/image"
    truncate -s 512M "$work/image"
    mkdir -p "$work/mnt"
    case $1 in
        FAT32) mkfs.fat -F 32 "$work/image" >/dev/null && fusefat -o rw+ "$work/image" "$work/mnt" >/dev/null ;;
        NTFS) mkntfs -F -Q "$work/image" >/dev/null 2>&1 && ntfs-3g "$work/image" "$work/mnt" ;;
        exFAT) mkfs.exfat "$work/image" >/dev/null && losetup -f --show "$work/image" >"$work/loop" &&
            mount.exfat-fuse "$(cat "$work/loop")" "$work/mnt" >/dev/null 2>&1 ;;
    esac
}
unmount_kind() {
    umount "$work/mnt"
    if [ -f "$work/loop" ]; then losetup -d "$(cat "$work/loop")" && rm "$work/loop"; fi
}

echo "$files files of $kib KiB; median of 3 rounds, seconds"
printf '%-6s %10s %10s\n' "" "write pass" "cp -n"
for kind in FAT32 exFAT NTFS; do
    if ! mount_kind $kind; then
        echo "$kind: cannot be mounted here"
        continue
    fi
    pass=() cp=()
    for round in 1 2 3; do
        game "$work/mnt/pass$round"
        game "$work/mnt/cp$round"
        pass+=("$(seconds "$program" --write "$work/add" --game "$work/mnt/pass$round")")
        cp+=("$(seconds copy_by_cp "$work/mnt/cp$round")")
    done
    written=$(find "$work/mnt/pass1" -type f | wc -l)
    printf '%-6s %10.2f %10.2f   (%s files written)\n' $kind \
        "$(printf '%s\n' "${pass[@]}" | median)" "$(printf '%s\n' "${cp[@]}" | median)" "$written"
    unmount_kind
done
