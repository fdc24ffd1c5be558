#!/usr/bin/env bash
# Runs the fuzzers of the sanitizer build (scripts/test-asan.sh builds them) on their
# seeds in fuzz/corpus/<name>/. Fails on any crash, failed check, sanitizer report,
# leak, slow input or memory blow-up; the input is saved in build-asan/fuzz/crashes/.
#
#   scripts/fuzz.sh smoke          a fixed number of runs per fuzzer (about 10 s each)
#   scripts/fuzz.sh 300 [names]    300 seconds per fuzzer (all, or the names given)
#   scripts/fuzz.sh repro FILE...  runs the fuzzer of each file's folder on it once
#
# Inputs the fuzzers find go to build-asan/fuzz/found/<name>/, never to the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh
bin=build-asan/fuzz/bin
work=build-asan/fuzz

# An input that takes more than 10 s or asks for more than 512 MB at once is a fault.
limits=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512)

# Longest input the fuzzer makes up. Key strings are long enough to show how strokes
# grow; files are short, as every line is read byte by byte several times.
max_len() {
  case $1 in
    fuzz_keystring) echo 16384 ;;
    fuzz_datafile | fuzz_keyfile) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

# Smoke runs per fuzzer: about 10 s each on one core of a busy two-core machine.
smoke_runs() {
  case $1 in
    fuzz_cp932) echo 200000 ;;
    fuzz_keystring) echo 15000 ;;
    fuzz_datafile) echo 3000 ;;
    fuzz_keyfile) echo 3000 ;;
    fuzz_commandline) echo 40000 ;;
    fuzz_updatecheck) echo 50000 ;;
  esac
}

mode=${1:-smoke}
shift || true
if [ "$mode" = repro ]; then
  for file in "$@"; do
    name=$(basename "$(dirname "$file")")
    "$bin/$name" "${limits[@]}" "$file"
  done
  exit 0
fi

names=("$@")
if ((${#names[@]} == 0)); then
  for dir in fuzz/corpus/*/; do names+=("$(basename "$dir")"); done
fi
failed=()
for name in "${names[@]}"; do
  found=$work/found/$name
  crashes=$work/crashes/$name
  mkdir -p "$found" "$crashes"
  if [ "$mode" = smoke ]; then
    limit=(-runs="$(smoke_runs "$name")" -seed=1 -max_total_time=20)
  else
    limit=(-max_total_time="$mode")
  fi
  echo "== $name ${limit[*]}"
  log=$work/$name.log
  if ! "$bin/$name" "${limits[@]}" -max_len="$(max_len "$name")" "${limit[@]}" -print_final_stats=1 \
      -artifact_prefix="$crashes/" "$found" "fuzz/corpus/$name" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$name failed; reproduce with: scripts/fuzz.sh repro $crashes/<file>" >&2
    failed+=("$name")
    continue
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$log" || true
done
if ((${#failed[@]})); then
  echo "Fuzzers that failed: ${failed[*]}" >&2
  exit 1
fi
