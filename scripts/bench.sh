#!/usr/bin/env bash
# Builds the DLL and ovbench, then times the file operations under Wine.
#   scripts/bench.sh [--arch x86|x64] [--full] [--reps N] [--only copy|list|delete|trip]
# Default: smaller data sets (a few minutes per architecture on two cores);
# --full: the full sizes (5,000-file tree, 30,000-file listing).
# Without --arch (or OV_ARCH) both architectures run, one after the other, and
# a last table sets their ratios side by side. One architecture's table goes to
# stdout, its CSV to ${BENCH_CSV:-<build folder>/ovbench.csv}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# One row per operation and baseline with, per architecture, ours, the
# baseline's time and the ratio.
side_by_side() {
  local re='^"([^"]*)",([^,]*),"([^"]*)",([^,]*),([^,]*),([^,]*),'
  local -A x86
  local line op
  while IFS= read -r line; do
    [[ $line =~ $re ]] && x86[${BASH_REMATCH[1]}|${BASH_REMATCH[3]}]="${BASH_REMATCH[2]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[4]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[5]}"
  done <"$1"
  echo "| Operation | Baseline | x86 ours | x86 baseline | x86 ratio | x64 ours | x64 baseline | x64 ratio |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|"
  while IFS= read -r line; do
    [[ $line =~ $re ]] || continue
    op="${BASH_REMATCH[1]}|${BASH_REMATCH[3]}"
    echo "| ${BASH_REMATCH[1]} | ${BASH_REMATCH[3]} | ${x86[$op]:-- | - | -} | ${BASH_REMATCH[2]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[4]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[5]} |"
  done <"$2"
}

if [ "${1:-}" != "--arch" ] && [ -z "${OV_ARCH:-}" ]; then
  unset BUILD_DIR BENCH_CSV
  for arch in x86 x64; do
    echo "== $arch"
    OV_ARCH=$arch "$0" "$@"
    echo
  done
  echo "== both architectures (ratio: ours / baseline, lower is better)"
  echo
  side_by_side "$root/build/ovbench.csv" "$root/build-x64/ovbench.csv"
  exit 0
fi

. "$root/scripts/arch.sh"
"$root/scripts/build.sh" OvDurAru ovbench
. "$root/scripts/wine-env.sh"
wine_env_start "$build"
csv=${BENCH_CSV:-$build/ovbench.csv}
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(wine --version), $OV_ARCH"
cd "$build"
wine ovbench.exe --csv "$(winepath -w "$csv" 2>/dev/null)" "$@" </dev/null
