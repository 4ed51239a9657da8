#!/usr/bin/env bash
# Builds the libFuzzer targets fuzz/*_fuzz.cpp (CMake, PW_FUZZ=ON: clang with
# ASan and UBSan, tree build/cmake-fuzz, programs in build/fuzz/) and runs each
# for SECONDS (default 20) on a corpus under build/fuzz/, seeded from
# fuzz/corpus/. Exits non-zero when a target fails to build or finds a crash;
# the crashing input is left in build/fuzz/crashes/.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_PER_TARGET=${1:-20}
TREE="$ROOT/build/cmake-fuzz"
OUT="$ROOT/build/fuzz"

mkdir -p "$OUT/crashes"
if ! bash "$ROOT/scripts/configure.sh" "$TREE" -DPW_FUZZ=ON -DPW_OUTPUT_DIR="$OUT" \
    -DCMAKE_C_COMPILER="${CC_FUZZ:-clang}" -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}"; then
  echo "fuzz summary: configuring $TREE failed"
  exit 1
fi

status=0
summary=()
for src in "$ROOT"/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name: building"
  if ! cmake --build "$TREE" --target "$name" -j "${JOBS:-2}" -- --no-print-directory >"$OUT/$name.build.log" 2>&1; then
    cat "$OUT/$name.build.log"
    summary+=("$name: build failed")
    status=1
    continue
  fi
  corpus="$OUT/corpus/$name"
  mkdir -p "$corpus"
  cp -n "$ROOT"/fuzz/corpus/* "$corpus"/ 2>/dev/null || true
  log="$OUT/$name.log"
  echo "== $name: running for ${SECONDS_PER_TARGET}s"
  "$OUT/$name" -max_total_time="$SECONDS_PER_TARGET" -max_len=4096 -timeout=5 -print_final_stats=1 \
    -artifact_prefix="$OUT/crashes/$name-" "$corpus" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    tail -40 "$log"
    summary+=("$name: FAILED (exit $rc, ${runs:-?} runs; see $log and $OUT/crashes/)")
    status=1
  else
    summary+=("$name: ok (${runs:-?} runs)")
  fi
done

echo "fuzz summary: $(IFS=';'; echo "${summary[*]}" | sed 's/;/; /g')"
exit $status
