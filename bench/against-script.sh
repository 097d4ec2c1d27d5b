#!/bin/sh
# The console driver against a generic script, side by side in one run: the
# export and the import of a full-size car log by rtconv (the 32-bit build
# first, where 32-bit Windows programs run, then the 64-bit one), each net of
# a log of the car record alone, beside the time to copy the two files and,
# where Node.js is installed, beside bench/generic-script/convert.js on the
# generic library palm-pdb, net of the same script on the one-record log.
# Usage: bench/against-script.sh [RUNS]   (best of RUNS runs of each command; 10)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}

# Best wall time of RUNS runs of a command, in seconds.
best() {
    python3 - "$runs" "$@" <<'PY'
import subprocess, sys, time
best = None
for _ in range(int(sys.argv[1])):
    start = time.perf_counter()
    subprocess.run(sys.argv[2:], check=True, stdout=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    best = seconds if best is None else min(best, seconds)
print(f"{best:.4f}")
PY
}
ratio() { python3 -c "import sys; print(f'{float(sys.argv[1]) / float(sys.argv[2]):.2f}')" "$1" "$2"; }
# A net time below zero (a noisy run) is printed as it came.
field() { sed -n "s/^net seconds:.* $1 \(-\{0,1\}[0-9.]*\).*/\1/p"; }

measured=""
for arch in i686 x86_64; do
    if [ "$arch" = i686 ]; then
        build="$root/build/bench-i686"
        # Debian's 32-bit loader, from wine32:i386; it needs a kernel that runs
        # 32-bit programs.
        if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
            echo "== i686: not measured: 32-bit Windows programs do not run here (no wine32, or a kernel without 32-bit support)"
            continue
        fi
    else
        build="$root/build/bench"
    fi
    echo "== $arch: rtconv"
    out=$("$root/bench/run.sh" rtconv_bench "$build" "$arch" "$runs")
    echo "$out"
    measured="$measured $arch:$(echo "$out" | field export):$(echo "$out" | field import):$(echo "$out" | field copy):$build"
done

if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    echo "== No Node.js here: the generic script is not measured"
    exit 0
fi
script="$root/build/generic-script"
mkdir -p "$script"
cp "$root/bench/generic-script/convert.js" "$root/bench/generic-script/package.json" "$script/"
(cd "$script" && npm install --no-audit --no-fund --silent >/dev/null)
# The files of the last build measured; every build writes the same ones.
build=${measured##*:}
temp=$(find "$build/wineprefix/drive_c/users" -maxdepth 2 -name Temp -type d | head -n 1)
js() { best node "$script/convert.js" "$@"; }
exportFull=$(js export "$temp/RoadtallyDBBench.pdb" "$script/full.csv")
exportOne=$(js export "$temp/RoadtallyDBOne.pdb" "$script/one.csv")
importFull=$(js import "$temp/rtconv_bench.csv" "$script/full.pdb" "$temp/RoadtallyDBBench.pdb")
importOne=$(js import "$temp/rtconv_bench_one.csv" "$script/one.pdb" "$temp/RoadtallyDBOne.pdb")
scriptExport=$(python3 -c "print(f'{$exportFull - $exportOne:.4f}')")
scriptImport=$(python3 -c "print(f'{$importFull - $importOne:.4f}')")
echo "== The generic script (node $(node --version), palm-pdb 1.0.2), best of $runs runs"
echo "export: $scriptExport s net ($exportFull s in all, $exportOne s for the car record alone)"
echo "import: $scriptImport s net ($importFull s in all, $importOne s for the car record alone)"
cmp -s "$script/full.csv" "$temp/rtconv_bench.csv" && same="the same bytes" || same="DIFFERENT bytes"
echo "its CSV and rtconv's: $same"
# The header's three dates tell when each database was made; the rest must agree.
cmp -s "$script/full.pdb" "$temp/RoadtallyDBBenchImported.pdb" -i 78 && same="the same" || same="DIFFERENT"
echo "its database and rtconv's, header dates aside: $same"

echo "== Ratios (rtconv's net time over the script's, and over copying the two files)"
for entry in $measured; do
    IFS=: read -r arch export import copy _ <<EOS
$entry
EOS
    echo "$arch: export $(ratio "$export" "$scriptExport")x the script, $(ratio "$export" "$copy")x the copy;" \
         "import $(ratio "$import" "$scriptImport")x the script, $(ratio "$import" "$copy")x the copy"
done
