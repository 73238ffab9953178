#!/bin/bash
# Find and Integrity Checking benchmarks under Wine, each against a Linux
# tool over the same folder in the same run:
#   - Find's content search to the end of a 1 GiB vault of text files with
#     no hit, against LC_ALL=C grep -rilF;
#   - Integrity Checking of a consistent 100 000-file vault, against find
#     listing the same tree.
# The vaults are made once under build/win/bench-vaults (about 1.1 GB) and
# kept; the page cache is warmed before each timing. Best of three rounds.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/win"
VAULTS="$BUILD/bench-vaults"
NEEDLE="zyzzogeton"
"$ROOT/scripts/deps.sh" || exit 1
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null || exit 1
ninja -C "$BUILD" find_integrity_bench >/dev/null || exit 1

winpath() { echo "Z:${1//\//\\}"; }

# Best wall time of three runs of a command, in seconds.
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1 t
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}

mkdir -p "$VAULTS"
if [ ! -f "$VAULTS/text.done" ]; then
  echo "Making the 1 GiB text vault ..."
  rm -rf "$VAULTS/text"
  python3 - "$VAULTS/text" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(7)
words = ("the of and to in is that it for was on are as with his they at be this from have or by one had not "
         "but what all were when we there can an your which their said if do will each about how up out them "
         "then she many some so these would other into has more her two like him see time could no make than "
         "first been its who now people my made over did down only way find use may water long little very "
         "after words called just where most know Archive Report Budget Plan Catalog Document Meeting").split()
def block(size):
    out, n, line = [], 0, 0
    while n < size:
        w = rnd.choice(words)
        sep = "\r\n" if line > 70 else " "
        line = 0 if sep != " " else line + len(w) + 1
        out.append(w + sep); n += len(w) + len(sep)
    return "".join(out).encode()[:size]
mib = block(1 << 20)
big = block(32 << 20)
def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f: f.write(data)
for c in range(56):
    folder = os.path.join(root, "Catalog%02d" % c, "Sub") if c % 4 == 3 else os.path.join(root, "Catalog%02d" % c)
    for i in range(16):
        write(folder, "doc%02d.txt" % i, b"%d %d\r\n" % (c, i) + mib[16:])
for i in range(4):
    write(os.path.join(root, "Big"), "big%d.txt" % i, b"%d\r\n" % i + big[8:])
PY
  touch "$VAULTS/text.done"
fi
if [ ! -f "$VAULTS/many.done" ]; then
  echo "Making the 100 000-file vault ..."
  rm -rf "$VAULTS/many"
  python3 - "$VAULTS/many" <<'PY'
import os, sys
root = sys.argv[1]
for t in range(20):
    for s in range(10):
        folder = os.path.join(root, "Top%02d" % t, "Sub%02d" % s)
        os.makedirs(folder)
        for i in range(500):
            with open(os.path.join(folder, "file%03d.txt" % i), "wb") as f: f.write(b"x")
PY
  touch "$VAULTS/many.done"
fi

"$ROOT/scripts/wine-session.sh" start "$BUILD"
run() { "$BUILD/wine-run.sh" "$BUILD/find_integrity_bench.exe" "$@"; }
# Indexes are made by a first check, which registers every file.
for v in text many; do
  if [ ! -f "$VAULTS/$v.indexed" ]; then
    echo "First check of $v: $(run prepare "$(winpath "$VAULTS/$v")")"
    touch "$VAULTS/$v.indexed"
  fi
done

cat "$VAULTS"/text/*/*.txt "$VAULTS"/text/*/*/*.txt >/dev/null
grep_s=$(LC_ALL=C best_of_3 grep -rilF "$NEEDLE" "$VAULTS/text")
find_out=$(run find "$(winpath "$VAULTS/text")" "$NEEDLE" 3 | tr -d "\r")
find_s=$(echo "$find_out" | awk '{print $3}')
echo "Find content, 1 GiB, no hit:   Archivon $find_s s   grep -rilF $grep_s s   ratio $(echo "$find_s / $grep_s" | bc -l | xargs printf '%.2f') (goal <= 1.5)"

find "$VAULTS/many" >/dev/null
list_s=$(best_of_3 find "$VAULTS/many")
int_out=$(run integrity "$(winpath "$VAULTS/many")" 3 | tr -d "\r")
int_s=$(echo "$int_out" | awk '{print $3}')
floor_s=$(echo "$int_out" | awk '{print $7}')
echo "Integrity, 100 000 files:      Archivon $int_s s   find $list_s s   ratio $(echo "$int_s / $list_s" | bc -l | xargs printf '%.2f') (goal <= 2)"
echo "  listing the same folders under Wine alone: $floor_s s; Integrity Checking / that listing: $(echo "$int_s / $floor_s" | bc -l | xargs printf '%.2f')"
echo "(Archivon times are measured inside the process; starting a Wine process adds about $(best_of_3 "$BUILD/wine-run.sh" cmd /c exit) s.)"

"$ROOT/scripts/wine-session.sh" stop "$BUILD"
