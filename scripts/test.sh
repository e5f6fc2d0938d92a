#!/bin/bash
# Installs what is missing, builds everything and runs every test: unit and
# headless tests, the real binary end to end under Xvfb, the same tests
# again built with AddressSanitizer and UBSan, each fuzz target for 20 s
# (so that a new crash shows up), the Windows build with its tests under
# Wine (scripts/windows.sh), and the formatting check.
set -e
cd "$(dirname "$0")/.."
bash scripts/deps.sh $(cat scripts/packages.txt scripts/test-packages.txt)
JOBS=$(nproc)
failed=0

echo "== build (warnings are errors) =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLUFF_WERROR=ON >/dev/null
cmake --build build -j"$JOBS"
echo "== tests =="
ctest --test-dir build --output-on-failure -j"$JOBS" || failed=1

echo "== AddressSanitizer + UBSan build =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFLUFF_WERROR=ON -DFLUFF_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$JOBS"
echo "== tests under sanitizers =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$JOBS" -E e2e || failed=1

echo "== fuzz targets, 20 s each =="
bash scripts/fuzz.sh 20 || failed=1

echo "== Windows: cross build, zip and tests under Wine =="
# The datafiles come from the Linux build above: the same bytes.
FLUFF_HOST_BUILD=$PWD/build FLUFF_JOBS=$JOBS bash scripts/windows.sh || failed=1

echo "== formatting =="
if ! git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror; then
    echo "clang-format: the files above need formatting"
    failed=1
fi

if [ $failed -ne 0 ]; then
    echo "SOME TESTS FAILED"
    exit 1
fi
echo "ALL TESTS PASSED"
