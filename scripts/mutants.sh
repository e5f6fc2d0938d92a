#!/bin/bash
# Plants each fault of tests/mutants.txt, one at a time, into a scratch copy
# of the tree, rebuilds the test binary there incrementally and runs it: a
# fault the tests catch is killed, one they pass survived. The working tree
# is never touched.
#
#   bash scripts/mutants.sh [--check] [PATTERN]
#
# --check only looks each fault's text up. PATTERN (grep -E) picks the
# faults whose line matches it. MUTANTS_TESTS (a gtest filter, default: all)
# picks the tests that may kill. The scratch copy lives in
# ${FLUFF_MUTANTS_DIR:-/tmp/fluff-mutants} and is kept between runs, so only
# what changed is built again.
#
# tests/mutants.txt: one fault a line, four fields separated by " ||| ":
#   file ||| exact text ||| replacement ||| the rule it breaks
# "\n" in the text and the replacement stands for a line break. The text must
# occur exactly once in the file; otherwise the fault is an error, not a kill.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
LIST=$ROOT/tests/mutants.txt
SCRATCH=${FLUFF_MUTANTS_DIR:-/tmp/fluff-mutants}
CHECK=0
if [ "${1:-}" = "--check" ]; then
    CHECK=1
    shift
fi
PATTERN=${1:-.}

# apply FILE TEXT REPLACEMENT: prints how often TEXT occurs; replaces it
# when it occurs exactly once.
apply() {
    python3 - "$@" <<'EOF'
import sys
path, text, repl = sys.argv[1], sys.argv[2].replace('\\n', '\n'), sys.argv[3].replace('\\n', '\n')
try:
    src = open(path).read()
except OSError:
    print(-1)
    sys.exit()
n = src.count(text)
print(n)
if n == 1 and len(sys.argv) < 5:
    open(path, 'w').write(src.replace(text, repl))
EOF
}

if [ $CHECK -eq 0 ]; then
    echo "== scratch copy in $SCRATCH"
    mkdir -p "$SCRATCH/tree"
    # Only files whose content differs are copied, with a fresh time (the
    # scratch objects may be newer than the tree's own files): what did not
    # change is not built again. Files the tree no longer has go.
    git ls-files -z | while IFS= read -r -d '' f; do
        if ! cmp -s "$f" "$SCRATCH/tree/$f"; then
            mkdir -p "$(dirname "$SCRATCH/tree/$f")"
            cp "$f" "$SCRATCH/tree/$f"
        fi
    done
    (cd "$SCRATCH/tree" && find . -type f -printf '%P\n') | sort >"$SCRATCH/had"
    git ls-files | sort | comm -23 "$SCRATCH/had" - | (cd "$SCRATCH/tree" && xargs -r rm -f)
    cmake -S "$SCRATCH/tree" -B "$SCRATCH/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
    echo "== building the tests once as they are"
    cmake --build "$SCRATCH/build" --target fluff_tests -j"$(nproc)" >"$SCRATCH/build.log" 2>&1 ||
        { tail -20 "$SCRATCH/build.log"; exit 1; }
fi

# The end-to-end tests are not part of the binary.
run_tests() {
    (cd "$SCRATCH/build" && timeout 900 ./tests/fluff_tests --gtest_brief=1 --gtest_fail_fast \
        --gtest_filter="${MUTANTS_TESTS:-*}" >"$SCRATCH/test.log" 2>&1)
}

if [ $CHECK -eq 0 ] && ! run_tests; then
    echo "the tests fail without any fault planted:"
    tail -20 "$SCRATCH/test.log"
    exit 1
fi

killed=0
survived=0
errors=0
total=0
survivors=()
while IFS= read -r line; do
    [ -z "$line" ] && continue
    [[ "$line" == \#* ]] && continue
    echo "$line" | grep -qE -- "$PATTERN" || continue
    file=${line%% ||| *}
    rest=${line#* ||| }
    text=${rest%% ||| *}
    rest=${rest#* ||| }
    repl=${rest%% ||| *}
    rule=${rest#* ||| }
    total=$((total + 1))
    if [ $CHECK -eq 1 ]; then
        n=$(apply "$ROOT/$file" "$text" "$repl" --dry)
        if [ "$n" != 1 ]; then
            echo "error     $file: text found $n times: $text"
            errors=$((errors + 1))
        fi
        continue
    fi
    target=$SCRATCH/tree/$file
    cp -p "$target" "$SCRATCH/original"
    n=$(apply "$target" "$text" "$repl")
    if [ "$n" != 1 ]; then
        printf 'error     %s: text found %s times (%s)\n' "$file" "$n" "$rule"
        errors=$((errors + 1))
        continue
    fi
    if ! cmake --build "$SCRATCH/build" --target fluff_tests -j"$(nproc)" >"$SCRATCH/build.log" 2>&1; then
        printf 'error     %s: does not build (%s)\n' "$file" "$rule"
        errors=$((errors + 1))
    elif run_tests; then
        printf 'SURVIVED  %s: %s\n' "$file" "$rule"
        survived=$((survived + 1))
        survivors+=("$file: $rule")
    else
        printf 'killed    %s: %s\n' "$file" "$rule"
        killed=$((killed + 1))
    fi
    # Back as it was, and newer than its object, so the next build redoes it.
    cp "$SCRATCH/original" "$target"
    touch "$target"
done <"$LIST"

if [ $CHECK -eq 1 ]; then
    echo "$total faults, $errors not found exactly once"
    [ $errors -eq 0 ]
    exit
fi
cmake --build "$SCRATCH/build" --target fluff_tests -j"$(nproc)" >/dev/null 2>&1

echo "== $killed killed, $survived survived, $errors errors of $total faults" \
    "($((total ? 100 * killed / total : 0)) % killed)"
for s in "${survivors[@]}"; do
    echo "   survived: $s"
done
