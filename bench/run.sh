#!/usr/bin/env bash
# Times each workload with tesmora-run and, beside it, the same work in
# Python 3 (a peer interpreter users know), in one run on one machine.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
runner="${1:-$here/../build/src/cli/tesmora-run}"
[ -x "$runner" ] || { echo "no runner at $runner (build first)"; exit 1; }

millis() { echo $(( $(date +%s%N) / 1000000 )); }
time_command() {
  local start end
  start=$(millis)
  "$@" > /dev/null 2>&1 || { echo "FAILED"; return; }
  end=$(millis)
  echo "$((end - start))"
}

printf '%-20s %12s %12s\n' workload "tesmora ms" "python3 ms"
for script in "$here"/workloads/*.tsm; do
  name="$(basename "$script" .tsm)"
  ours=$(time_command "$runner" "$script")
  peer="-"
  if command -v python3 > /dev/null && [ -f "$here/workloads/$name.py" ]; then
    peer=$(time_command python3 "$here/workloads/$name.py")
  fi
  printf '%-20s %12s %12s\n' "$name" "$ours" "$peer"
done
