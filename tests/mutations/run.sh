#!/bin/sh
# The mutation check: each line of mutations.txt plants one fault in a scratch copy of the tree,
# builds it incrementally (ccache), runs the suites most likely to notice it (they stop at the
# first failure) and puts the file back. A fault no suite notices is a promise no test holds.
# Slow and not part of CI:
#   nice -n 10 sh tests/mutations/run.sh            # every fault
#   nice -n 10 sh tests/mutations/run.sh 3 17 40    # these lines only (numbers as printed)
# MUTATION_SCRATCH (default $TMPDIR/corvel3-mutations) holds the copy and its build, kept between
# runs so that only what a fault touches is built again.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
list=$top/tests/mutations/mutations.txt
scratch=${MUTATION_SCRATCH:-${TMPDIR:-/tmp}/corvel3-mutations}
src=$scratch/src
build=$src/build   # inside the copy: the compiler cache sees the same relative paths every run
log=$scratch/log
mkdir -p "$src" "$log"
export CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=true

# The tree as it is now, uncommitted changes included; dates kept, so an unchanged file is not
# built again.
(cd "$top" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$src" || exit 1
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCORVEL3_BUILD_BENCH=OFF >"$log/cmake.txt" 2>&1 || { echo "configure failed: $log/cmake.txt"; exit 1; }
fi
# Everything once, unchanged: afterwards a fault only rebuilds what it touches.
ninja -C "$build" >"$log/build.txt" 2>&1 || { echo "the tree does not build: $log/build.txt"; exit 1; }

# file @@ find @@ replace @@ suites (comma-separated ctest names; empty: all) @@ why
apply() {   # file find replace: exactly one occurrence, or nothing is changed
    python3 - "$src/$1" "$2" "$3" <<'PY'
import sys
path, find, replace = (a.replace("\\n", "\n") for a in sys.argv[1:4])
text = open(path, encoding="utf-8").read()
n = text.count(find)
if n != 1:
    sys.exit("found %d times" % n)
open(path, "w", encoding="utf-8").write(text.replace(find, replace))
PY
}

field() { printf '%s\n' "$1" | awk -F ' @@ ' -v n="$2" '{ print $n }'; }

caught=0 missed=0 broken=0 number=0
missedLines=""
while IFS= read -r line; do
    case "$line" in ''|'#'*) continue ;; esac
    number=$((number + 1))
    if [ $# -gt 0 ]; then
        case " $* " in *" $number "*) ;; *) continue ;; esac
    fi
    file=$(field "$line" 1); find=$(field "$line" 2); replace=$(field "$line" 3)
    suites=$(field "$line" 4); why=$(field "$line" 5)
    cp "$src/$file" "$scratch/original" || { echo "$number: no file $file"; broken=$((broken + 1)); continue; }
    if ! message=$(apply "$file" "$find" "$replace" 2>&1); then
        echo "$number: BROKEN  $file: $message"
        broken=$((broken + 1))
        continue
    fi
    targets="corvel3-cli corvel3-attrib corvel3-nodefrag"
    regex=""
    for s in $(printf '%s' "$suites" | tr ',' ' '); do
        targets="$targets ${s##*/}"
        regex="$regex${regex:+|}^$s\$"
    done
    [ -z "$regex" ] && targets=""
    verdict=""
    if ! ninja -C "$build" $targets >"$log/build-$number.txt" 2>&1; then
        verdict="caught (does not build)"
    elif QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" ${regex:+-R "$regex"} --stop-on-failure \
            -j2 --timeout 300 >"$log/test-$number.txt" 2>&1; then
        verdict="MISSED"
    else
        verdict="caught by $(grep -m1 -E '[*]{3}(Failed|Timeout)|Exception' "$log/test-$number.txt" | awk '{ print $4 }')"
    fi
    # Back as it was, dated now: the next build compiles it again (from the cache).
    cp "$scratch/original" "$src/$file"
    case "$verdict" in
    MISSED) missed=$((missed + 1)); missedLines="$missedLines $number" ;;
    *) caught=$((caught + 1)) ;;
    esac
    echo "$number: $verdict  $file  ($why)"
done <"$list"

total=$((caught + missed))
[ "$total" -gt 0 ] || { echo "no faults run"; exit 1; }
echo "caught $caught of $total ($((100 * caught / total)) %), missed:${missedLines:- none}; $broken not applied"
