#!/usr/bin/env bash
# scripts/with-display.sh must fail at once, without running the command, when Xvfb or
# openbox stops before it is ready. A stand-in that exits at once plays the broken one.
set -uo pipefail
script=$1
failed=0
for broken in Xvfb openbox; do
  bin=$(mktemp -d)
  printf '#!/bin/sh\nexit 3\n' >"$bin/$broken"
  chmod +x "$bin/$broken"
  marker=$bin/ran
  start=$SECONDS
  PATH="$bin:$PATH" bash "$script" touch "$marker" 2>"$bin/err"
  status=$?
  if [ $status -eq 0 ] || [ -e "$marker" ]; then
    echo "FAIL: with $broken broken the command ran (status $status)"; failed=1
  elif ! grep -q "$broken" "$bin/err"; then
    echo "FAIL: with $broken broken the message does not name it: $(cat "$bin/err")"; failed=1
  elif [ $((SECONDS - start)) -ge 4 ]; then
    echo "FAIL: with $broken broken it waited $((SECONDS - start)) s"; failed=1
  else
    echo "ok: $broken broken: $(cat "$bin/err")"
  fi
  rm -rf "$bin"
done
exit $failed
