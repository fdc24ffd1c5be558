#!/usr/bin/env bash
# Configures and builds everything into build/ (programs and data box in build/app).
# ccache is used when it is installed (it is not needed).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if ! log=$(cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" 2>&1); then
  printf '%s\n' "$log" >&2
  exit 1
fi
cmake --build build -j"$(nproc)"
