#!/usr/bin/env bash
# Measures what the suite covers: builds with gcov instrumentation in
# build/coverage, runs every test (the window and hoofer executables
# included), then prints the line coverage of src/ and the size of tests/
# against src/ and tools/. Installs gcovr when it is missing.
set -euo pipefail
. "$(dirname "$0")/build_common.sh"
"$here/scripts/deps.sh" gcovr
export QT_QPA_PLATFORM=offscreen
dir=$here/build/coverage
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
find "$dir" -name '*.gcda' -delete
ctest --test-dir "$dir" -j "$(nproc)" --timeout 300 --output-on-failure
gcovr -r "$here" --filter "$here/src/" --object-directory "$dir" --exclude-directories "$dir/CMakeFiles" \
  --print-summary --txt "$dir/coverage.txt" \
  | grep -E '^(lines|functions):'
cd "$here"
tests=$(git ls-files tests | xargs cat | wc -l)
code=$(git ls-files src tools | xargs cat | wc -l)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests: %d lines against %d in src/ and tools/ (%.1f %%)\n", t, c, 100 * t / c }'
