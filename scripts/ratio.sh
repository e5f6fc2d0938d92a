#!/bin/bash
# Lines of tests against lines of everything else: non-blank, non-comment
# lines of tracked .cpp/.h files (fuzz targets count as tests).
cd "$(dirname "$0")/.."
count() { xargs cat | grep -v -E '^\s*($|//)' | wc -l; }
t=$(git ls-files tests | grep -E '\.(cpp|h)$' | count)
o=$(git ls-files | grep -v '^tests/' | grep -E '\.(cpp|h)$' | count)
echo "tests $t, other $o, ratio $(python3 -c "print(round($t/$o, 3))")"
