#!/usr/bin/env bash
# Runs one libFuzzer target for QP_FUZZ_SECONDS seconds (30 by default) on a copy of its seeds.
# Any finding (a crash, a sanitizer report, a leak, a slow input, running out of memory) fails the
# run; the input that caused it is kept in QP_FUZZ_FINDINGS (build/fuzz/findings by default).
# A dictionary beside the fuzzer (<fuzzer>.dict) is passed on. Leaks of code that is not ours are
# suppressed as in the sanitizer run (scripts/sanitizer-suppressions.txt).
set -euo pipefail
fuzzer=$1
seeds=$2
seconds=${QP_FUZZ_SECONDS:-30}
findings=${QP_FUZZ_FINDINGS:-$(cd "$(dirname "$fuzzer")/.." && pwd)/findings}
corpus=$(mktemp -d "${TMPDIR:-/tmp}/corpus.XXXXXXXX")
cp -r "$seeds"/. "$corpus"/
mkdir -p "$findings"
symbolizer=$(command -v llvm-symbolizer || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/../.." && pwd)/scripts/sanitizer-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
dictionary=()
[ -f "$fuzzer.dict" ] && dictionary=(-dict="$fuzzer.dict")
"$fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -print_final_stats=1 "${dictionary[@]}" \
  -artifact_prefix="$findings/$(basename "$fuzzer")-" "$corpus"
