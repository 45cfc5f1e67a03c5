# The geodex module: pyproj as the oracle of the chain, round trips through every inverse, failing
# points, rejected parameters, broadcasting and thread-count independence.
import math
import pickle

import numpy as np
import pytest

import geodex

pyproj = pytest.importorskip("pyproj")

ARC = 4.84813681109536e-6
SEVEN = (15.8, -154.4, -82.3, 2.3, -1.2, 3.5, 4.2)
KRASSOWSKY = dict(a=6378245.0, rf=298.3)
TM = dict(code=32, cm=117, fe=500000, fn=0, k=1)
LCC = dict(code=15, cm=105, lat0=30, sp1=25, sp2=47, fe=400000, fn=100000)
ADJUST = dict(plane=(1250.5, -830.25, 12.5, 1.0000123), ele_method=3,
              ele_coef=(1e-6, -2e-6, 1e-13, 2e-13, -1e-13, 0.35))


@pytest.fixture(scope="module")
def site_tm(tmp_path_factory):
    """The transverse Mercator grid with a seven-parameter shift, read from catalogue files."""
    d = tmp_path_factory.mktemp("catalogues")
    (d / "ell.txt").write_text("WGS 84,6378137.0,0.0033528106647474805\n"
                               f"Krassowsky 1940,6378245.0,{1 / 298.3!r}\n")
    (d / "crs.txt").write_text(
        "[crs]\nSite TM\nKrassowsky 1940\n"
        f"1 15.8 -154.4 -82.3 {2.3 * ARC!r} {-1.2 * ARC!r} {3.5 * ARC!r} 4.2e-6\n"
        f"32 {math.radians(117)!r} 0 0 0 500000 0 1 0 0\n0 0 0\n")
    return str(d / "ell.txt"), str(d / "crs.txt")


def points(lat0, lon0, spread, n, seed=11):
    rng = np.random.default_rng(seed)
    return (lat0 + rng.uniform(-spread, spread, n), lon0 + rng.uniform(-spread, spread, n),
            rng.uniform(-50, 2500, n))


def test_chain_agrees_with_pyproj(site_tm, report):
    start = "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
    molodensky = (f"+step +proj=molodensky +ellps=WGS84 +dx=-24 +dy=123 +dz=94 "
                  f"+da={6378245.0 - 6378137.0!r} +df={1 / 298.3 - 0.0033528106647474805!r}")
    cases = [
        ("Helmert + transverse Mercator", geodex.Transformer.from_catalogue(*site_tm, "Site TM"),
         start + "+step +proj=cart +ellps=WGS84 +step +proj=helmert +x=15.8 +y=-154.4 +z=-82.3 +rx=2.3 "
         "+ry=-1.2 +rz=3.5 +s=4.2 +convention=coordinate_frame +exact +step +inv +proj=cart +a=6378245 "
         "+rf=298.3 +step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3", (33, 117, 2.5)),
        ("Molodensky + Lambert", geodex.Transformer(molodensky=(-24, 123, 94), **KRASSOWSKY, **LCC),
         start + molodensky + " +step +proj=lcc +lat_0=30 +lon_0=105 +lat_1=25 +lat_2=47 +x_0=400000 "
         "+y_0=100000 +a=6378245 +rf=298.3", (35, 105, 8)),
    ]
    for name, t, pipeline, area in cases:
        lat, lon, h = points(*area, 20000)
        north, east, height = t.to_grid(lat, lon, h)
        x, y, z = pyproj.Transformer.from_pipeline(pipeline).transform(lon, lat, h)
        horizontal = np.max(np.hypot(x - east, y - north))
        vertical = np.max(np.abs(z - height))
        report(f"{name} vs pyproj: largest horizontal {horizontal:.3g} m, vertical {vertical:.3g} m")
        assert horizontal < 1e-3 and vertical < 1e-3, name


# Every inverse undoes its forward conversion; (forward, inverse, inputs, angle tolerance in degrees).
def test_inverses_undo_every_step(site_tm, report):
    world = (np.array([31.2, -33.9, 60.0, 89.0]), np.array([121.5, 151.2, -150.0, 179.9]),
             np.array([20.0, 100.0, 0.0, -30.0]))
    tm = geodex.Transformer.from_catalogue(*site_tm, "Site TM", **ADJUST)
    lcc = geodex.Transformer(molodensky=(-24, 123, 94), **KRASSOWSKY, **LCC, **ADJUST)
    shift7 = dict(seven=SEVEN, **KRASSOWSKY)
    cases = [
        ("TM chain with adjustments", tm.to_grid, tm.to_wgs84, points(33, 117, 2.5, 2000), 1e-10),
        ("LCC chain with adjustments", lcc.to_grid, lcc.to_wgs84, points(33, 105, 2.5, 2000), 1e-9),
        ("seven-parameter shift", lambda *p: geodex.shift(*p, **shift7),
         lambda *p: geodex.shift(*p, inverse=True, **shift7), world, 1e-12),
        ("geocentric", geodex.geocentric, lambda *p: geodex.geocentric(*p, inverse=True), world, 1e-12),
        ("UTM zone 51", lambda la, lo, h: geodex.project(la, lo, code=34, zone_override=51) + (h,),
         lambda n, e, h: geodex.unproject(n, e, code=34, zone=51, hemisphere="N") + (h,),
         points(31, 123, 2.5, 2000), 1e-9),
    ]
    for name, forward, inverse, (lat, lon, h), tolerance in cases:
        back = inverse(*forward(lat, lon, h))
        angle = max(np.max(np.abs(back[0] - lat)), np.max(np.abs((back[1] - lon + 180) % 360 - 180)))
        height = np.max(np.abs(back[2] - h))
        report(f"round trip {name}: largest {angle:.3g} deg, {height:.3g} m")
        assert angle < tolerance and height < 1e-6, name


def test_failing_point_is_nan_with_its_message(site_tm):
    t = geodex.Transformer.from_catalogue(*site_tm, "Site TM")
    listed = []
    north, east, h = t.to_grid([[31.5, 95.0, 32.0], [31.0, 31.0, float("nan")]], [118.25, 118.0, 118.0],
                               12.5, errors=listed)
    assert north.shape == east.shape == h.shape == (2, 3)
    failed = np.isnan(north)
    assert (failed == np.isnan(east)).all() and (failed == np.isnan(h)).all()
    assert failed.tolist() == [[False, True, False], [False, False, True]]
    assert listed == [((0, 1), "Latitude out of range"), ((1, 2), "Latitude out of range")]
    array = np.empty((2, 3), dtype=object)
    t.to_grid([[31.5, 95.0, 32.0], [31.0, 31.0, float("nan")]], [118.25, 118.0, 118.0], 12.5, errors=array)
    assert array.tolist() == [["", "Latitude out of range", ""], ["", "", "Latitude out of range"]]
    # Scalars give numpy scalars; radians give the same grid as degrees.
    n, e, _ = t.to_grid(31.5, 118.25, 12.5)
    assert np.ndim(n) == 0 and (n, e) == tuple(t.to_grid(math.radians(31.5), math.radians(118.25), 12.5,
                                                           radians=True)[:2])
    assert math.isclose(n, 3487106.5683, abs_tol=5e-5) and math.isclose(e, 618692.0161, abs_tol=5e-5)


@pytest.mark.parametrize("build, message", [
    (lambda: geodex.Transformer(code=3), "projection code 3 has no projection class"),
    (lambda: geodex.Transformer(k=5), "scale=5"),
    (lambda: geodex.Transformer(a=6378245, rf=5, seven=SEVEN), "Inverse flattening"),
    (lambda: geodex.Transformer(plane=(0, 0, 0, 0)), "plane adjustment scale"),
    (lambda: geodex.Transformer(seven=SEVEN[:3]), "seven needs 7 numbers"),
    (lambda: geodex.Transformer(hemisphere="X"), "hemisphere"),
    (lambda: geodex.Transformer.from_catalogue("/nonexistent", "/nonexistent", "x"), "ellipsoid catalogue"),
    (lambda: geodex.Transformer(geoid="/nonexistent.ggf"), "geoid grid /nonexistent.ggf"),
    (lambda: geodex.project(31, 117, code=4, lat0=100), "Origin Latitude .* out of range"),
    (lambda: geodex.Transformer().to_grid([1, 2], [1, 2, 3]), "broadcast"),
    (lambda: geodex.Transformer().to_grid(1, 2, threads=0), "threads"),
])
def test_invalid_parameters_raise_value_error(build, message):
    with pytest.raises(ValueError, match=message):
        build()


def test_unknown_keyword_raises_type_error():
    with pytest.raises(TypeError, match="'cmm'"):
        geodex.project(31, 117, cmm=117)


def test_results_do_not_depend_on_the_thread_count(site_tm):
    t = pickle.loads(pickle.dumps(geodex.Transformer.from_catalogue(*site_tm, "Site TM", **ADJUST)))
    lat, lon, h = points(33, 117, 60, 150000, seed=5)  # some beyond the poles: failures in every run
    runs = []
    for threads in (1, 2, 3, 8):
        errors = []
        out = t.to_grid(lat, lon, h, threads=threads, errors=errors)
        runs.append((b"".join(a.tobytes() for a in out), errors))
    assert runs[0][1] and all(r == runs[0] for r in runs[1:])
