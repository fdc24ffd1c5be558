#!/usr/bin/env bash
# Builds and runs the download benchmark (needs nginx-light and curl).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target bench_download >/dev/null
exec build/bench/bin/bench_download
