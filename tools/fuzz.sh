#!/usr/bin/env bash
# CI's fuzz step: builds the fuzz targets with clang, libFuzzer and the sanitizers, then fuzzs each one for a
# fixed time from its corpus in fuzz/corpus/<target>/. Any crash, leak, sanitizer report, time-out or
# memory blow-up fails the step and leaves the input in $FUZZ_ARTIFACTS (default build-libfuzzer/artifacts).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-45}  # per target; two targets run at once
build=${FUZZ_BUILD_DIR:-build-libfuzzer}
artifacts=${FUZZ_ARTIFACTS:-$build/artifacts}
targets=(${FUZZ_TARGETS:-ini markup text datetime zip mailbox league mdb service statusline})

start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCALVORIN_GUI=OFF \
  -DCALVORIN_SANITIZE=ON -DCALVORIN_LIBFUZZER=ON -DCALVORIN_TESTS=OFF -DCALVORIN_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
echo "fuzz: targets built in $((SECONDS - start)) s"

# The league target writes files with fsync for every input: in memory that costs nothing.
scratch=$(mktemp -d -p "$([[ -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$scratch"' EXIT
rm -rf "$artifacts"
mkdir -p "$artifacts"

# One target: new inputs go to a scratch folder first in the list, so the corpus kept in the repository
# stays as committed; the targets' own scratch files go to a TMPDIR of their own.
fuzz_one() {
  local target=$1
  mkdir -p "$scratch/$target/new" "$scratch/$target/tmp"
  if TMPDIR="$scratch/$target/tmp" ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/fuzz_$target" "$scratch/$target/new" "fuzz/corpus/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" >"$scratch/$target.log" 2>&1; then
    echo "fuzz: $target OK ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$target.log" |
      grep -o '[0-9]*$') runs)"
  else
    echo "fuzz: $target FAILED"
    tail -n 60 "$scratch/$target.log"
    return 1
  fi
}
export -f fuzz_one
export scratch seconds build artifacts

failed=0
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'fuzz_one {}' >"$scratch/summary" 2>&1 || failed=1
cat "$scratch/summary"
bad=$(grep -c '^fuzz: .* FAILED$' "$scratch/summary" || true)
echo "fuzz: whole step took $((SECONDS - start)) s"
echo "fuzz: $((${#targets[@]} - bad)) passed, $bad failed"
exit "$failed"
