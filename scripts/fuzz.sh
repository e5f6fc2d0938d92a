#!/bin/bash
# Builds the fuzz targets (tests/fuzz, libFuzzer with clang, AddressSanitizer
# and UBSan) in build-fuzz/, seeds each from the built data, the tests'
# recordings and a high score file of the game's own writer, and runs them
# one after another, one job each. Needs the normal build's data (build/data).
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS each (default 20); FUZZ_RUNS=N runs N inputs each instead. TARGET:
# datafile font sample midi hiscore replay (default: all). New inputs go to
# build-fuzz/corpus/TARGET, kept between runs; a crash's input to
# build-fuzz/crashes/. The exit status is 1 when any target failed.
# A request for more memory than there is gets nothing, as it would in
# the game, rather than ending the run.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
TIME=${1:-20}
shift || true
TARGETS=${*:-datafile font sample midi hiscore replay}
OUT=$ROOT/build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$OUT" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLUFF_FUZZ=ON \
    -DFLUFF_TESTS=OFF >/dev/null || exit 1
cmake --build "$OUT" --target fuzz_targets -j2 >"$OUT/build.log" 2>&1 || { tail -20 "$OUT/build.log"; exit 1; }
[ -f build/data/gfx.dat ] || { echo "fuzz.sh: build the game first (build/data)"; exit 1; }

# Seeds: whole small datafiles (the font, the sounds, and a few pictures of
# gfx.dat each in a datafile of its own), the objects a one-object target
# takes, the tune, the recordings and a high score file.
SEEDS=$OUT/seeds
rm -rf "$SEEDS"
mkdir -p "$SEEDS"/{datafile,font,sample,midi,hiscore,replay} "$OUT/crashes"
python3 - "$SEEDS" <<'PY' || exit 1
import struct, sys
seeds = sys.argv[1]
def objects(path):
    b = open(path, 'rb').read()
    n, = struct.unpack('>I', b[8:12])
    at = 12
    for _ in range(n):
        start = at
        while b[at:at + 4] == b'prop':
            size, = struct.unpack('>I', b[at + 8:at + 12])
            at += 12 + size
        kind = b[at:at + 4]
        size, = struct.unpack('>I', b[at + 4:at + 8])
        yield kind, b[start:at + 12 + size], b[at + 12:at + 12 + size]
        at += 12 + size
head = lambda n: b'slh.ALL.' + struct.pack('>I', n)
for name in ('font', 'snd'):
    open(f'{seeds}/datafile/{name}.dat', 'wb').write(open(f'build/data/{name}.dat', 'rb').read())
pictures = sorted((len(whole), whole) for kind, whole, body in objects('build/data/gfx.dat'))
for i, (size, whole) in enumerate(pictures[:8] + pictures[len(pictures) // 2:][:2]):
    open(f'{seeds}/datafile/gfx{i}.dat', 'wb').write(head(1) + whole)
for kind, whole, body in objects('build/data/font.dat'):
    if kind == b'FONT':
        open(f'{seeds}/font/font{len(body)}', 'wb').write(body)
for i, (kind, whole, body) in enumerate(objects('build/data/snd.dat')):
    if kind == b'SAMP' and len(body) < 65536:
        open(f'{seeds}/sample/s{i}', 'wb').write(body)
PY
cp build/data/cm.m "$SEEDS/midi/"
cp tests/replays/*.replay "$SEEDS/replay/"
"$OUT/fuzz_seeds" "$SEEDS/hiscore" "$SEEDS/replay/made.replay" || exit 1
rm -f "$SEEDS"/hiscore/hiscore.lock

failed=0
for t in $TARGETS; do
    mkdir -p "$OUT/corpus/$t"
    if [ -n "${FUZZ_RUNS:-}" ]; then limit=-runs=$FUZZ_RUNS; else limit=-max_total_time=$TIME; fi
    # Inputs of the datafile target may be large pictures; the rest are small.
    max=8192
    [ "$t" = datafile ] && max=262144
    [ "$t" = replay ] || [ "$t" = sample ] && max=65536
    echo "== fuzz_$t"
    mkdir -p "$OUT/tmp"
    if (cd "$OUT" && TMPDIR=$OUT/tmp ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$OUT/fuzz_$t" "$limit" -max_len=$max -print_final_stats=1 \
        -artifact_prefix="$OUT/crashes/$t-" "$OUT/corpus/$t" "$SEEDS/$t" >"$OUT/$t.log" 2>&1); then
        grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss)' "$OUT/$t.log" | tail -3
    else
        echo "fuzz_$t FAILED: see $OUT/$t.log"
        grep -E 'ERROR|SUMMARY|Test unit written' "$OUT/$t.log" | head -5
        failed=1
    fi
done
rm -rf "$OUT/tmp"
exit $failed
