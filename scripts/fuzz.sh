#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), one at a
# time. Fails on any crash, time-out (1 s per input) or leak; the input that
# caused it is kept in fuzz/findings/<target>/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: routine ftp_reply settings json reference_sidecar
#
# FUZZ_RUNS=N runs each target for N inputs instead of a time. One fuzzing
# process runs at a time; FUZZ_JOBS=N (N > 1) runs N of them per target, each
# logging to fuzz-<n>.log in the current folder. FUZZ_FLAGS adds libFuzzer
# flags of your own, e.g. FUZZ_FLAGS=-max_len=1024 (the default is 4096: a
# few seeds are larger, and are then fuzzed cut to that length).
set -euo pipefail
. "$(dirname "$0")/build_common.sh"
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(routine ftp_reply settings json reference_sidecar)

"$here/scripts/deps.sh" clang libclang-rt-dev

build="$here/build/fuzz-clang"
# -fsized-deallocation: on by default in GCC, off in clang before 16.
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -fsized-deallocation"
configure_and_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DHOOFER_FUZZ=ON -DHOOFER_BUILD_TESTS=OFF -- "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
limit=(-max_total_time="$seconds")
[ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
jobs=()
[ "${FUZZ_JOBS:-1}" -gt 1 ] && jobs=(-jobs="$FUZZ_JOBS" -workers="$FUZZ_JOBS")

failed=()
for t in "${targets[@]}"; do
  # New inputs go to a working corpus in the build folder; the seeds in
  # fuzz/corpus are only read.
  work="$build/corpus/$t"
  findings="$here/fuzz/findings/$t"
  mkdir -p "$work" "$findings"
  echo "== fuzz_$t =="
  if ! "$build/fuzz/fuzz_$t" "${limit[@]}" -timeout=1 -detect_leaks=1 -print_final_stats=1 \
      -max_len=4096 ${jobs[@]+"${jobs[@]}"} ${FUZZ_FLAGS:-} \
      -artifact_prefix="$findings/" "$work" "$here/fuzz/corpus/$t"; then
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failures in ${failed[*]}; inputs in fuzz/findings/" >&2
  exit 1
fi
echo "fuzz.sh: ${targets[*]}: no crash, time-out or leak"
