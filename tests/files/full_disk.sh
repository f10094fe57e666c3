#!/bin/sh
# mapquill-tool writing over existing files on a full file system: every output is refused with
# the system's reason and the old file stays byte for byte. Usage: full_disk.sh TOOL JSON PICT
set -u
tool=$1 json=$2 pict=$3
[ "$(id -u)" = 0 ] || { echo "skipped: mounting needs root"; exit 77; }
dir=$(mktemp -d) || exit 1
mnt=$dir/full
mkdir "$mnt"
if ! mount -t tmpfs -o size=64k mapquill-test "$mnt" 2>/dev/null; then
  rmdir "$mnt" "$dir"; echo "skipped: cannot mount a tmpfs here"; exit 77
fi
cleanup() { umount "$mnt"; rm -rf "$dir"; }
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

"$tool" build "$json" "$mnt/OvData1" || fail "the first build on an empty disk"
printf 'an old picture' >"$mnt/old.png"
printf 'an old export' >"$mnt/Batnames"
cp "$mnt/OvData1" "$dir/OvData1.before"
head -c 1048576 /dev/zero >"$mnt/filler" 2>/dev/null  # fills the disk; fails when it is full

for run in "build $json $mnt/OvData1" "batnames $mnt/OvData1 $mnt/Batnames" "map $pict $mnt/old.png"; do
  # shellcheck disable=SC2086
  if "$tool" $run 2>"$dir/err"; then fail "$run reported success on a full disk"; fi
  grep -q "No space left on device" "$dir/err" || fail "$run: $(cat "$dir/err")"
done
cmp -s "$mnt/OvData1" "$dir/OvData1.before" || fail "OvData1 changed"
[ "$(cat "$mnt/old.png")" = "an old picture" ] || fail "old.png changed"
[ "$(cat "$mnt/Batnames")" = "an old export" ] || fail "Batnames changed"
[ "$(ls -A "$mnt" | sort | tr '\n' ' ')" = "Batnames OvData1 filler old.png " ] || fail "left: $(ls -A "$mnt")"
echo "full disk: every write refused, every old file kept"
