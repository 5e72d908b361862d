#!/bin/sh
# The mutation check: each line of mutations.txt plants one fault in a scratch copy of the tree,
# builds it incrementally (ccache), runs the tests most likely to notice it, the first failure
# ending the fault's run, and puts the file back. A fault nothing notices is a promise no test
# holds. Slow, and not part of CI:
#   nice -n 10 sh tests/mutations/run.sh            # every fault
#   nice -n 10 sh tests/mutations/run.sh 3 17 40    # these faults only (numbered as printed)
# MUTATION_SCRATCH (default $TMPDIR/corvel3-mutations) holds the copy and its build, kept between
# runs so that only what a fault touches is built again; log/ there has each fault's output.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
list=$top/tests/mutations/mutations.txt
scratch=${MUTATION_SCRATCH:-${TMPDIR:-/tmp}/corvel3-mutations}
src=$scratch/src
build=$src/build   # inside the copy: the compiler cache sees the same relative paths every run
log=$scratch/log
mkdir -p "$src" "$log"
export CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=true QT_QPA_PLATFORM=offscreen

# The tree as it is now, uncommitted changes included; dates kept, so an unchanged file is not
# built again. A file a killed run left planted is dated now, so that it is built again too.
(cd "$top" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$src" || exit 1
if [ -f "$scratch/planted" ]; then
    touch "$src/$(cat "$scratch/planted")"
    rm -f "$scratch/planted"
fi
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEL3_BUILD_BENCH=OFF \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >"$log/cmake.txt" 2>&1 || { echo "configure failed: $log/cmake.txt"; exit 1; }
fi
# Everything once, unchanged: afterwards a fault only rebuilds what it touches.
ninja -C "$build" >"$log/build.txt" 2>&1 || { echo "the tree does not build: $log/build.txt"; exit 1; }

# Puts the planted file back, dated now: the next build compiles it again (from the cache).
restore() {
    if [ -f "$scratch/planted" ]; then
        cp "$scratch/original" "$src/$(cat "$scratch/planted")"
        rm -f "$scratch/planted"
    fi
}
trap 'restore; exit 130' INT TERM

# Replaces the one place of the find text ("\n" in either text is a line break); fails when the
# text is not there exactly once.
plant() {
    python3 - "$src/$1" "$2" "$3" <<'PY'
import sys
path, find, replace = (a.replace("\\n", "\n") for a in sys.argv[1:4])
text = open(path, encoding="utf-8").read()
if text.count(find) != 1:
    sys.exit("found %d times" % text.count(find))
open(path, "w", encoding="utf-8").write(text.replace(find, replace))
PY
}

field() { printf '%s\n' "$1" | awk -F ' @@ ' -v n="$2" '{ print $n }'; }

# One test: "dir/tst_x" through CTest, "dir/tst_x:function" (or "function:row") the executable alone.
runTest() {
    case "$1" in
    *:*) timeout 600 "$build/bin/$(printf '%s' "${1%%:*}" | sed 's|.*/||')" "${1#*:}" ;;
    *) ctest --test-dir "$build" -R "^$1\$" --timeout 600 ;;
    esac
}

caught=0 missed=0 broken=0 number=0
missedList=""
while IFS= read -r line; do
    case "$line" in ''|'#'*) continue ;; esac
    number=$((number + 1))
    if [ $# -gt 0 ]; then
        case " $* " in *" $number "*) ;; *) continue ;; esac
    fi
    file=$(field "$line" 1); find=$(field "$line" 2); replace=$(field "$line" 3)
    tests=$(field "$line" 4); why=$(field "$line" 5)
    cp "$src/$file" "$scratch/original" || { echo "$number: NOT APPLIED, no file $file"; broken=$((broken + 1)); continue; }
    printf '%s' "$file" >"$scratch/planted"
    if ! message=$(plant "$file" "$find" "$replace" 2>&1); then
        rm -f "$scratch/planted"
        echo "$number: NOT APPLIED  $file: $message"
        broken=$((broken + 1))
        continue
    fi
    touch "$src/$file"
    targets="corvel3-cli corvel3-attrib corvel3-nodefrag"
    for t in $(printf '%s' "$tests" | tr ',' '\n' | sed 's|:.*||; s|.*/||' | sort -u); do
        targets="$targets $t"
    done
    [ -z "$tests" ] && targets=""
    verdict=MISSED
    : >"$log/test-$number.txt"
    if ! ninja -C "$build" $targets </dev/null >"$log/build-$number.txt" 2>&1; then
        verdict="caught: does not build"
    elif [ -z "$tests" ]; then
        ctest --test-dir "$build" --stop-on-failure -j2 --timeout 600 </dev/null >"$log/test-$number.txt" 2>&1 || verdict="caught"
    else
        IFS_saved=$IFS IFS=,
        for t in $tests; do
            if ! runTest "$t" </dev/null >>"$log/test-$number.txt" 2>&1; then
                verdict="caught by $t"
                break
            fi
        done
        IFS=$IFS_saved
    fi
    restore
    case "$verdict" in
    MISSED) missed=$((missed + 1)); missedList="$missedList $number" ;;
    *) caught=$((caught + 1)) ;;
    esac
    echo "$number: $verdict  ($file: $why)"
done <"$list"

total=$((caught + missed))
[ "$total" -gt 0 ] || { echo "no fault was run"; exit 1; }
echo "caught $caught of $total ($((100 * caught / total)) %); missed:${missedList:- none}; not applied: $broken"
