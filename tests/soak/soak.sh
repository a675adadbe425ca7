#!/usr/bin/env bash
# 300 hostile files previewed through the file manager's bus calls, faster than they load: the
# instance never crashes or hangs, every preview ends or is superseded, and no helper program
# outlives the preview it served. Stalls and memory are printed, not judged.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
own_bus "$@"

rc=0
python3 "$VUEL_SOURCE/bench/soak" --build "$VUEL_BUILD" --keep "$tmp/soak" --seed "${VUEL_SOAK_SEED:-1}" 300 || rc=$?
if [ "$rc" != 0 ]; then
  # the files and logs that showed it, for after the private folder is gone
  rm -rf "$VUEL_BUILD/soak-reproducers"
  cp -r "$tmp/soak/reproducers" "$VUEL_BUILD/soak-reproducers" 2>/dev/null || true
  fail "crashes, hangs, unended previews or stray helpers (reproducers in $VUEL_BUILD/soak-reproducers)"
fi
echo PASS
