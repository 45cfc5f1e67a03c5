#!/usr/bin/python3
"""Throughput of geodex.Transformer.to_grid next to pyproj's Transformer.transform, in the same run:
1,000,000 points WGS 84 -> Krassowsky (seven-parameter shift) -> transverse Mercator, numpy in and out.

Usage: PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py [points] [repeats]
Each figure is the best of `repeats` runs (the machine may be shared); the CPU time per point, summed
over threads, shows the cost of a conversion even when other work holds the cores."""
import sys
import time

import numpy as np
import pyproj

import geodex

n = int(sys.argv[1]) if len(sys.argv) > 1 else 1_000_000
repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5
rng = np.random.default_rng(3)
lat, lon, h = rng.uniform(30, 36, n), rng.uniform(114, 120, n), rng.uniform(0, 2000, n)

t = geodex.Transformer(a=6378245, rf=298.3, seven=(15.8, -154.4, -82.3, 2.3, -1.2, 3.5, 4.2),
                       code=32, cm=117, fe=500000, k=1)
p = pyproj.Transformer.from_pipeline(
    "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step +proj=cart +ellps=WGS84 "
    "+step +proj=helmert +x=15.8 +y=-154.4 +z=-82.3 +rx=2.3 +ry=-1.2 +rz=3.5 +s=4.2 "
    "+convention=coordinate_frame +exact +step +inv +proj=cart +a=6378245 +rf=298.3 "
    "+step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3")


def best(run):
    """(points per second of wall time, CPU nanoseconds per point), each the best of the repeats."""
    wall, cpu = [], []
    for _ in range(repeats):
        start, start_cpu = time.perf_counter(), time.process_time()
        run()
        wall.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
    return n / min(wall), min(cpu) / n * 1e9


rates = {
    "pyproj Transformer.transform": best(lambda: p.transform(lon, lat, h)),
    "geodex to_grid, 1 thread": best(lambda: t.to_grid(lat, lon, h, threads=1)),
    "geodex to_grid, 2 threads": best(lambda: t.to_grid(lat, lon, h, threads=2)),
}
x, y, z = p.transform(lon, lat, h)
north, east, height = t.to_grid(lat, lon, h)
base = rates["pyproj Transformer.transform"][0]
for name, (rate, cpu) in rates.items():
    print(f"{name:30s} {rate / 1e6:6.2f} M points/s   {rate / base:5.2f}x pyproj   {cpu:5.0f} ns CPU per point")
print(f"largest difference to pyproj: {np.max(np.hypot(x - east, y - north)):.2g} m horizontal, "
      f"{np.max(np.abs(z - height)):.2g} m vertical")
