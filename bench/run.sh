#!/usr/bin/env bash
# `make bench`: the workloads of bench/workloads.py in Tesmora and in the
# installed peers (scripts/setup.sh --bench installs them), as tables.
# Arguments go to bench/bench.py (--runs N, --only W1,W3, --no-scaling).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
exec /usr/bin/python3 "$here/bench.py" "$@"
