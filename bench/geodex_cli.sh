#!/usr/bin/env bash
# Throughput of `geodex convert` (transverse Mercator CRS with a seven-parameter shift) on 1,000,000
# points with one and two threads, next to PROJ's cct and cs2cs on the same points in the same run.
# Usage: bench/geodex_cli.sh [path to the geodex binary] [points]
set -euo pipefail
BIN=${1:-build/tools/geodex/geodex}
N=${2:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$N" "$work/latlon.txt" "$work/lonlat.txt" <<'PY'
import random, sys
n = int(sys.argv[1]); random.seed(3)
with open(sys.argv[2], "w") as a, open(sys.argv[3], "w") as b:
    for i in range(n):
        lat = 30 + 6 * random.random(); lon = 114 + 6 * random.random(); h = 2000 * random.random()
        a.write(f"{lat:.9f} {lon:.9f} {h:.3f}\n"); b.write(f"{lon:.9f} {lat:.9f} {h:.3f}\n")
PY
ARC=4.84813681109536e-6
printf 'WGS 84,6378137.0,0.0033528106647474805\nKrassowsky 1940,6378245.0,%.17g\n' "$(python3 -c 'print(1/298.3)')" > "$work/ell.txt"
python3 - "$work/crs.txt" <<'PY'
import math, sys
arc = 4.84813681109536e-6
with open(sys.argv[1], "w") as f:
    f.write("[crs]\nBench TM\nKrassowsky 1940\n")
    f.write(f"1 15.8 -154.4 -82.3 {2.3*arc!r} {-1.2*arc!r} {3.5*arc!r} 4.2e-6\n")
    f.write(f"32 {math.radians(117)!r} 0 0 0 500000 0 1 0 0\n0 0 0\n")
PY
PIPE="+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step +proj=cart +ellps=WGS84 \
+step +proj=helmert +x=15.8 +y=-154.4 +z=-82.3 +rx=2.3 +ry=-1.2 +rz=3.5 +s=4.2 +convention=coordinate_frame +exact \
+step +inv +proj=cart +a=6378245 +rf=298.3 +step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3"
CS2CS_SRC="+proj=longlat +ellps=WGS84 +no_defs"
CS2CS_DST="+proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3 +towgs84=-15.8,154.4,82.3,-2.3,1.2,-3.5,-4.2 +no_defs"

rate() { python3 -c "import sys; print(f'{$N/float(sys.argv[1]):,.0f} points/s ({float(sys.argv[1]):.2f} s)')" "$1"; }
timeit() { local s e; s=$(date +%s.%N); "$@" > /dev/null; e=$(date +%s.%N); python3 -c "print($e-$s)"; }

t1=$(timeit "$BIN" convert --ellipsoids "$work/ell.txt" --crs "$work/crs.txt" --name "Bench TM" -j 1 "$work/latlon.txt")
t2=$(timeit "$BIN" convert --ellipsoids "$work/ell.txt" --crs "$work/crs.txt" --name "Bench TM" -j 2 "$work/latlon.txt")
tc=$(timeit cct -d 4 $PIPE "$work/lonlat.txt")
ts=$(timeit sh -c "cs2cs -f %.4f $CS2CS_SRC +to $CS2CS_DST < '$work/lonlat.txt'")
echo "geodex convert -j 1 : $(rate "$t1")"
echo "geodex convert -j 2 : $(rate "$t2")   speed-up $(python3 -c "print(f'{$t1/$t2:.2f}')")x"
echo "cct                 : $(rate "$tc")"
echo "cs2cs               : $(rate "$ts")"
echo "geodex -j 1 / cs2cs : $(python3 -c "print(f'{$ts/$t1:.2f}')")x    / cct: $(python3 -c "print(f'{$tc/$t1:.2f}')")x"
