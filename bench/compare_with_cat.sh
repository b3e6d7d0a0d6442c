#!/bin/sh
# Whole-process CPU time of the archive commands against `cat` of their
# inputs, for people (not CI). Builds nothing: give the build folder that
# holds bin/zelkor2k-cli and bench/{paper,backtest}_bench (RelWithDebInfo or
# Release). Writes the generated data (about 650 MB) into a temporary
# folder, runs each command and its `cat` alternately RUNS times and prints
# the medians of user + system seconds, the ratios and the peak memory.
#
# Usage: bench/compare_with_cat.sh [BUILD_FOLDER] [RUNS] [DATA_FOLDER]
#        (defaults: build, 7, a temporary folder). A DATA_FOLDER given is
#        kept, and its data reused by the next run. The pages go below
#        $PAGES_FOLDER (default: beside the data); a folder on tmpfs
#        (/dev/shm/...) leaves out the disk's file system, whose cost of
#        creating files varies with what else runs (see compare below).
#        Needs python3 for the timing and GNU time (/usr/bin/time) for the
#        peak memory.
#
# How the page cache holds the input files changes every reader's time by
# a factor. A file just read or written is held in large folios; as the
# kernel's memory management later works on memory nobody touched for a
# while (a monitor here pages cold regions out), it splits them into 4 KB
# pages or drops some, and then `cat` takes up to twice and a pass through
# a mapping ten times as long, for hours. Before each comparison the inputs
# are therefore dropped from the cache and read back once, as a file read
# from the disk is held (CACHE=as-is leaves them as they are).
set -eu

build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
cli=$build/bin/zelkor2k-cli
for tool in "$cli" "$build/bench/paper_bench" "$build/bench/backtest_bench"; do
    [ -x "$tool" ] || { echo "missing $tool" >&2; exit 1; }
done

if [ -n "${3:-}" ]; then
    mkdir -p "$3"
    work=$(cd "$3" && pwd)
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/zelkor-compare-XXXXXX")
fi
pages=$(mkdir -p "${PAGES_FOLDER:-$work/prog}" && cd "${PAGES_FOLDER:-$work/prog}" && pwd)
pages=$(mktemp -d "$pages/pages-XXXXXX")
if [ -n "${3:-}" ]; then
    trap 'rm -rf "$pages"' EXIT INT TERM
else
    trap 'rm -rf "$pages" "$work"' EXIT INT TERM
fi
mkdir -p "$work/day" "$work/big" "$work/season"
[ -f "$work/day/JracUmaj.dat" ] || "$build/bench/paper_bench" --write-race-day "$work/day" 36 20000
[ -f "$work/big/JracUmaj.dat" ] || "$build/bench/paper_bench" --write-race-day "$work/big" 2000 100000
[ -f "$work/season/JracUmaj.dat" ] ||
    "$build/bench/backtest_bench" --write-horse-file "$work/season/JracUmaj.dat"

# Prints the user + system seconds of one run of the command given, from
# the child's resource usage in microseconds (GNU time rounds to 10 ms, more
# than `cat` of the small day takes).
cpu_of() {
    python3 -c '
import os, subprocess, sys
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
_, _, usage = os.wait4(child.pid, 0)
print("%.4f" % (usage.ru_utime + usage.ru_stime))' "$@"
}

# Prints the peak memory in KiB of one run (the timing runs start from a
# copy of python, whose memory would count).
peak_of() {
    /usr/bin/time -f %M -o "$pages/peak" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$pages/peak"
}

# Drops the files given from the page cache and reads them back.
cache_as_read() {
    [ "${CACHE:-as-read}" = as-is ] && return 0
    python3 -c '
import os, sys
for path in sys.argv[1:]:
    fd = os.open(path, os.O_RDONLY)
    os.fsync(fd)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)' "$@"
    cat "$@" >/dev/null
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# compare NAME CAT_FILES... -- COMMAND...: every run writes into a program
# folder of its own without pages, as the first run of a day does. The
# folders are removed only at exit: on ext4, files removed moments ago
# make every new file in their group slower to create (its inode search
# skips them for half a minute), which would charge the harness's clean-up
# to the next run.
compare() {
    name=$1
    shift
    set_no=$((${set_no:-0} + 1))
    files=
    while [ "$1" != -- ]; do
        files="$files $1"
        shift
    done
    shift
    # shellcheck disable=SC2086
    cache_as_read $files
    : >"$pages/prog.times"
    : >"$pages/cat.times"
    i=0
    while [ "$i" -lt "$runs" ]; do
        mkdir -p "$pages/$set_no.$i"
        # shellcheck disable=SC2086
        cpu_of cat $files >>"$pages/cat.times"
        cpu_of "$cli" --program-folder "$pages/$set_no.$i" "$@" >>"$pages/prog.times"
        i=$((i + 1))
    done
    prog=$(median <"$pages/prog.times")
    cat=$(median <"$pages/cat.times")
    mkdir -p "$pages/$set_no.peak"
    peak=$(peak_of "$cli" --program-folder "$pages/$set_no.peak" "$@")
    awk -v n="$name" -v p="$prog" -v c="$cat" -v m="$peak" 'BEGIN {
        printf "%-34s %7.4f s  cat %6.4f s  ratio %5.1fx  peak %4.0f MiB\n", n, p, c, (c > 0 ? p / c : 0), m / 1024 }'
}

echo "medians of $runs alternating runs, user + system seconds"
compare "predict-all 36 x 20,000" "$work/day/JracDen1.dat" "$work/day/JracUmaj.dat" -- \
    predict-all "$work/day/JracDen1.dat"
compare "predict-all 2,000 x 100,000" "$work/big/JracDen1.dat" "$work/big/JracUmaj.dat" -- \
    predict-all "$work/big/JracDen1.dat"
compare "paper --races all (36 x 20,000)" "$work/day/JracDen1.dat" "$work/day/JracUmaj.dat" -- \
    paper "$work/day/JracDen1.dat" --races all --edition 3
compare "backtest 100,000 horses" "$work/season/JracUmaj.dat" -- \
    backtest "$work/season/JracUmaj.dat"
