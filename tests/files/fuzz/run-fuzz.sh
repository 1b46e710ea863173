#!/usr/bin/env bash
# Builds the board-file fuzzer in its own build folder and fuzzes the reader for SECONDS on one
# core, after checking that a 100 MB input still runs far inside the one-second timeout.
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
cmake --build "$build" --target board_file_fuzzer -j 1
fuzzer=$build/tests/files/fuzz/board_file_fuzzer

work=$build/fuzz-work
mkdir -p "$work/corpus" "$work/large" "$work/artifacts"

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

# The working corpus grows in the build folder; the committed seeds are only read.
exec "$fuzzer" "$work/corpus" "$here/corpus" \
  -max_len=1048576 -timeout=1 -rss_limit_mb=2048 -max_total_time="$seconds" \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
