#!/usr/bin/env bash
# Builds the DLL and ovbench, then times the file operations under Wine.
#   scripts/bench.sh [--full] [--reps N] [--only copy|list|delete|trip]
# Default: smaller data sets (a few minutes on two cores); --full: the sizes
# the full sizes (5,000-file tree, 30,000-file listing).
# The table goes to stdout, the CSV to ${BENCH_CSV:-$build/ovbench.csv}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" OvDurAru ovbench
. "$root/scripts/wine-env.sh"
wine_env_start "$build"
csv=${BENCH_CSV:-$build/ovbench.csv}
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(wine --version)"
cd "$build"
wine ovbench.exe --csv "$(winepath -w "$csv" 2>/dev/null)" "$@" </dev/null
