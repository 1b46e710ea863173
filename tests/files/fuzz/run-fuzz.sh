#!/usr/bin/env bash
# Builds the board-file and pattern fuzzers in their own build folder and fuzzes the readers for
# SECONDS in all on one core (half each), after checking that a 100 MB board file and 10 MB
# hostile patterns still run far inside the one-second timeout.
#   tests/files/fuzz/run-fuzz.sh SECONDS
# TIVLA_FUZZ_BUILD overrides the build folder (default build-fuzz at the top of the tree).
# Crashing inputs are kept in <build>/fuzz-work/artifacts; the exit status is non-zero then.
set -euo pipefail
seconds=${1:?usage: run-fuzz.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
build=${TIVLA_FUZZ_BUILD:-$top/build-fuzz}

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVLA_FUZZ=ON -DTIVLA_BENCH=OFF >/dev/null
cmake --build "$build" --target board_file_fuzzer pattern_file_fuzzer -j 1
fuzzer=$build/tests/files/fuzz/board_file_fuzzer
pattern_fuzzer=$build/tests/files/fuzz/pattern_file_fuzzer

work=$build/fuzz-work
mkdir -p "$work/corpus" "$work/pattern-corpus" "$work/large" "$work/artifacts"

# Too large to keep in the repository: 100 MB of blanks (read to the end for the size line),
# and a full 200 x 200 board whose every line carries 2 KB of trailing junk.
blanks=$work/large/blanks-100mb
if [ ! -s "$blanks" ]; then
  head -c 104857600 /dev/zero | tr '\0' ' ' >"$blanks"
fi
padded=$work/large/size-200-padded-lines
if [ ! -s "$padded" ]; then
  junk=$(head -c 2048 /dev/zero | tr '\0' 'j')
  { printf '200\r\n'; for _ in $(seq 40401); do printf '1 %s\r\n' "$junk"; done; } >"$padded"
fi
# Given files rather than folders, libFuzzer runs each once.
# The reader needs well under a second of CPU for each (about 0.06 s); the wider limit only
# keeps a busy machine from failing the check on libFuzzer's own copying of 100 MB.
"$fuzzer" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" "$blanks" "$padded"

# Ten megabytes in one run, one row, one comment, and one cell named two and a half million
# times: each read by all three pattern readers, never held whole.
ten_mb() { head -c 10485760 /dev/zero | tr '\0' "$1"; }
pattern_large=()
for name in rle-run rle-comment cells-row life106-repeats; do
  pattern_large+=("$work/large/$name-10mb")
done
if [ ! -s "$work/large/life106-repeats-10mb" ]; then
  { printf 'x = 1, y = 1\n'; ten_mb 9; } >"$work/large/rle-run-10mb"
  { printf '#C '; ten_mb c; } >"$work/large/rle-comment-10mb"
  ten_mb O >"$work/large/cells-row-10mb"
  { printf '#Life 1.06\n'; yes '7 7' | head -c 10485760 || true; } >"$work/large/life106-repeats-10mb"
fi
"$pattern_fuzzer" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" \
  "${pattern_large[@]}"

# The working corpora grow in the build folder; the committed seeds are only read.
board_seconds=$(( (seconds + 1) / 2 ))
"$fuzzer" "$work/corpus" "$here/corpus" \
  -max_len=1048576 -timeout=1 -rss_limit_mb=2048 -max_total_time="$board_seconds" \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
exec "$pattern_fuzzer" "$work/pattern-corpus" "$here/corpus-patterns" \
  -max_len=65536 -timeout=1 -rss_limit_mb=2048 -max_total_time="$(( seconds - board_seconds ))" \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
