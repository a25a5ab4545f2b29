#!/usr/bin/env bash
# Builds the DLL and ovbench, then times the file operations under Wine.
#   scripts/bench.sh [--arch x86|x64] [--full] [--scale] [--reps N] [--only copy|list|delete|trip]
# Default: smaller data sets (a few minutes per architecture on two cores);
# --full: the full sizes (5,000-file tree, 30,000-file listing); --scale adds
# the cost per file of a 100,000-file listing and a 20,000-file copy against
# the smaller sets', and the list's memory per entry.
# Without --arch (or OV_ARCH) both architectures run, one after the other, and
# a last table sets their ratios side by side. One architecture's table goes to
# stdout, its CSV to ${BENCH_CSV:-<build folder>/ovbench.csv}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# One row per operation and baseline with, per architecture, ours, the
# baseline's figure and the ratio, then the ratio the row must stay within.
side_by_side() {
  # operation, ours, baseline, baseline's figure, ratio, unit, min and max of
  # both, target (empty when none)
  local re='^"([^"]*)",([^,]*),"([^"]*)",([^,]*),([^,]*),([^,]*),[^,]*,[^,]*,[^,]*,[^,]*,([^,]*)$'
  local -A x86
  local line op
  while IFS= read -r line; do
    [[ $line =~ $re ]] && x86[${BASH_REMATCH[1]}|${BASH_REMATCH[3]}]="${BASH_REMATCH[2]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[4]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[5]}"
  done <"$1"
  echo "| Operation | Baseline | x86 ours | x86 baseline | x86 ratio | x64 ours | x64 baseline | x64 ratio | Target |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|---:|"
  while IFS= read -r line; do
    [[ $line =~ $re ]] || continue
    op="${BASH_REMATCH[1]}|${BASH_REMATCH[3]}"
    echo "| ${BASH_REMATCH[1]} | ${BASH_REMATCH[3]} | ${x86[$op]:-- | - | -} | ${BASH_REMATCH[2]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[4]} ${BASH_REMATCH[6]} | ${BASH_REMATCH[5]} | ${BASH_REMATCH[7]:+<= ${BASH_REMATCH[7]}} |"
  done <"$2"
}

# The scale listing's folder, made natively: under Wine every file created in a
# folder costs a scan of that folder, so 100,000 CreateFile calls would take
# hours. Names as ovbench makes them: scattered, mixed case.
make_scale_list() {
  rm -rf "$1"
  mkdir -p "$1"
  seq 0 $(($2 - 1)) |
    awk '{ k = $1 * 2654435761 % 4294967296 % 1000000
           printf "%c%06d_%d.txt\n", k % 2 ? 70 : 102, k, $1 }' |
    (cd "$1" && xargs touch)
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
args=("$@")
scale_list=
if [[ " $* " == *" --scale "* ]]; then
  scale_list=$build/scale-list
  trap 'rm -rf "$scale_list"; wine_env_stop' EXIT
  make_scale_list "$scale_list" 100000
  args+=(--scale-list "$(winepath -w "$scale_list" 2>/dev/null)")
fi
cd "$build"
wine ovbench.exe --csv "$(winepath -w "$csv" 2>/dev/null)" "${args[@]}" </dev/null
