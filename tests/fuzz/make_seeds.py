#!/usr/bin/env python3
# Writes the seeds of fuzz_projection (one per projection code: WGS 84, parameters the code accepts, a point
# inside its domain) and of fuzz_ggf (a grid with its point inside), encoded as FuzzInput decodes them.
# Usage: tests/fuzz/make_seeds.py tests/fuzz/corpus
import struct, math, os, sys
out = sys.argv[1]
PI = math.pi
def val(lo, hi, x):
    u = round((x - lo) / (hi - lo) * 4294967295.0)
    assert 0 <= u <= 4294967295, (lo, hi, x)
    return bytes([0]) + struct.pack('>I', u)
def integer(c, lo=0):  # in.integer(lo, hi): four bytes big-endian giving c - lo, then a mode byte below 220
    return struct.pack('>i', c - lo) + bytes([0])
A, F = 6378137.0, 1 / 298.257223563
d = PI / 180
# code: (CM, OL, FE, FN, k, SP1, SP2, zone, override, hemisphere index, cone, lat, lon)
base = dict(cm=0.3, ol=0.5, fe=500000, fn=100000, k=0.9996, sp1=0.45, sp2=0.8, zone=31, ov=0, hem=0, cone=0.5, lat=0.6, lon=0.35)
special = {
    13: dict(lat=0.55, lon=0.32), 25: dict(lat=0.55, lon=0.32),
    23: dict(ol=1.3, sp1=71 * d, lat=1.4), 26: dict(sp1=1.2, lat=1.4), 27: dict(lat=1.4, k=0.994),
    34: dict(lat=0.6, lon=0.05),
    37: dict(cm=49.5 * d, ol=24.833333333333333 * d, cone=PI / 2 - 1.04216856380474, sp1=1.37008346281555,
             k=0.9999, fe=0, fn=0, lat=50 * d, lon=15 * d),
}
codes = [0, 1, 2, 4, 5, 6, 7, 8, 13, 14, 15, 17, 18, 20, 21, 23, 25, 26, 27, 28, 29, 30, 31, 32, 34, 36, 37]
for code in codes:
    p = dict(base); p.update(special.get(code, {}))
    b = integer(code)
    b += val(6.3e6, 6.4e6, A) + val(0, 0.005, F) + val(6.3e6, 6.4e6, A) + val(0, 0.005, F)
    b += val(-PI, 2 * PI, p['cm']) + val(-PI / 2, PI / 2, p['ol']) + val(-1e7, 1e7, p['fe']) + val(-1e7, 1e7, p['fn'])
    b += val(0.1, 3.5, p['k']) + val(-PI / 2, PI / 2, p['sp1']) + val(-PI / 2, PI / 2, p['sp2'])
    b += integer(p['zone'], -2) + integer(p['ov'], -2) + bytes([p['hem']]) + val(0, PI, p['cone'])
    b += val(-PI / 2, PI / 2, p['lat']) + val(-PI, 2 * PI, p['lon']) + val(-1e4, 1e4, 120.0)
    os.makedirs(out + '/fuzz_projection', exist_ok=True)
    open(f"{out}/fuzz_projection/code_{code:02d}", 'wb').write(b)
# A GGF grid over 20°–60° N, 0°–40° E at 1° with the point 45° N, 10° E inside it.
rows, cols = 41, 41
hdr = b'G' * 16 + b'synthetic grid'.ljust(32, b'\0')
hdr += struct.pack('<6d', 20, 60, 0, 40, 1, 1) + struct.pack('<ii', rows, cols) + b'\0' * 37 + bytes([2]) + b'\0' * 4
vals = b''.join(struct.pack('<h', int(3000 + 200 * math.sin(r / 5) + 150 * math.cos(c / 7))) for r in range(rows) for c in range(cols))
os.makedirs(out + '/fuzz_ggf', exist_ok=True)
open(f"{out}/fuzz_ggf/point_inside_grid", 'wb').write(val(-3.2, 6.3, 10 * d) + val(-1.6, 1.6, 45 * d) + hdr + vals)
