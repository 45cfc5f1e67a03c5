"""Geodetic conversions of numpy arrays with the Geodex library.

Angles are decimal degrees unless a call passes ``radians=True``; lengths and heights are metres.
Geodetic points are (latitude in [-90, 90], longitude), grid points (northing, easting). Inputs are
anything numpy turns into float64 arrays (scalars too) and are broadcast against each other; outputs are
float64 arrays of the broadcast shape (numpy scalars for scalar inputs). A point that cannot be converted
is NaN in every output; ``errors=[]`` receives ``(index, message)`` per such point (index an int for 1-D
inputs, else a tuple), a numpy string/object array of the broadcast shape receives the message at the
point's position ("" elsewhere). Large arrays are split over ``threads`` threads (default: all cores)
with the GIL released; results do not depend on the thread count. Invalid parameters raise ValueError
with the library's message; unknown keywords raise TypeError.
"""

from typing import Any, List, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

ArrayLike = npt.ArrayLike
Float = Union[float, np.float64, npt.NDArray[np.float64]]
Errors = Optional[Union[List[Tuple[Any, str]], npt.NDArray[Any]]]

class Transformer:
    """The chain WGS 84 -> local datum -> projection -> plane and height adjustment, and its exact inverse.

    Explicit parameters (all optional; the defaults are the library's):
      a: semi-major axis (m); rf: inverse flattening 1/f, or f: the flattening (default WGS 84)
      seven: (dx, dy, dz [m], rx, ry, rz [arc-seconds], scale [ppm]), seven-parameter shift from WGS 84
             (coordinate frame); molodensky: (dx, dy, dz [m]); neither: re-expression on the ellipsoid
      code: projection code (32 transverse Mercator, 34 UTM, 15 Lambert with two parallels, ...; 32)
      cm, lat0, sp1, sp2, cone_colat: central meridian, origin latitude, standard parallels, cone-axis
             colatitude, degrees (defaults 120, 0, 0, 0, 59.71...)
      fe, fn: false easting (500000) and northing (0), m; k: scale factor (1)
      zone, zone_override: UTM zone of grid points, zone to project into (0: the point's own);
      hemisphere: 'N' or 'S'
      plane: (dx, dy [m], rotation [arc-seconds], scale), applied to (northing, easting)
      ele_method: 1 constant, 2 plane, 3 quadratic surface, 4 inclined plane; ele_coef: (c0..c5) for
             1-3; ele_tgo: (x0, y0 [m], height at it [m], slope_x, slope_y) for 4
      geoid: path of a GGF geoid grid; grid heights are then geoid heights H = h - N (N on WGS 84).
             The grid is one per process: the last one loaded serves every transformer.
    Transformers pickle (settings and geoid path), so Dask workers can use them.
    """

    def __init__(
        self,
        *,
        a: float = ...,
        rf: float = ...,
        f: float = ...,
        seven: Optional[Sequence[float]] = ...,
        molodensky: Optional[Sequence[float]] = ...,
        code: int = ...,
        cm: float = ...,
        lat0: float = ...,
        fe: float = ...,
        fn: float = ...,
        k: float = ...,
        sp1: float = ...,
        sp2: float = ...,
        zone: int = ...,
        zone_override: int = ...,
        hemisphere: str = ...,
        cone_colat: float = ...,
        plane: Optional[Sequence[float]] = ...,
        ele_method: int = ...,
        ele_coef: Optional[Sequence[float]] = ...,
        ele_tgo: Optional[Sequence[float]] = ...,
        geoid: Optional[str] = ...,
    ) -> None: ...
    @staticmethod
    def from_catalogue(
        ellipsoids: str,
        crs: str,
        name: str,
        *,
        plane: Optional[Sequence[float]] = ...,
        ele_method: int = ...,
        ele_coef: Optional[Sequence[float]] = ...,
        ele_tgo: Optional[Sequence[float]] = ...,
        geoid: Optional[str] = ...,
    ) -> Transformer:
        """The CRS record ``name`` of the CRS catalogue file ``crs``, its ellipsoid from the ellipsoid
        catalogue file ``ellipsoids`` ("name,a,f" lines). ValueError when a file cannot be read or no
        record has the name."""
    def to_grid(
        self,
        lat: ArrayLike,
        lon: ArrayLike,
        h: ArrayLike = 0.0,
        *,
        radians: bool = False,
        threads: Optional[int] = None,
        errors: Errors = None,
    ) -> Tuple[Float, Float, Float]:
        """WGS 84 latitude [-90, 90], longitude (degrees, or radians), ellipsoidal height (m) ->
        (northing, easting, height) in metres."""
    def to_wgs84(
        self,
        north: ArrayLike,
        east: ArrayLike,
        height: ArrayLike = 0.0,
        *,
        radians: bool = False,
        threads: Optional[int] = None,
        errors: Errors = None,
    ) -> Tuple[Float, Float, Float]:
        """Grid northing, easting, height (m) -> WGS 84 (latitude, longitude in [-180, 180), ellipsoidal
        height in m): the exact inverse of to_grid."""

def geocentric(
    lat: ArrayLike,
    lon: ArrayLike,
    h: ArrayLike = 0.0,
    *,
    a: float = ...,
    rf: float = ...,
    f: float = ...,
    inverse: bool = False,
    radians: bool = False,
    threads: Optional[int] = None,
    errors: Errors = None,
) -> Tuple[Float, Float, Float]:
    """Latitude, longitude, height (m) -> earth-centred (X, Y, Z) in metres on the ellipsoid (default
    WGS 84); inverse=True: arguments (X, Y, Z) -> (latitude, longitude in [-180, 180), height)."""

def project(
    lat: ArrayLike,
    lon: ArrayLike,
    *,
    a: float = ...,
    rf: float = ...,
    f: float = ...,
    code: int = ...,
    cm: float = ...,
    lat0: float = ...,
    fe: float = ...,
    fn: float = ...,
    k: float = ...,
    sp1: float = ...,
    sp2: float = ...,
    zone: int = ...,
    zone_override: int = ...,
    hemisphere: str = ...,
    cone_colat: float = ...,
    radians: bool = False,
    threads: Optional[int] = None,
    errors: Errors = None,
) -> Tuple[Float, Float]:
    """Latitude, longitude -> (northing, easting) in metres by projection ``code`` (parameters as for
    Transformer, angles in degrees)."""

def unproject(
    north: ArrayLike,
    east: ArrayLike,
    *,
    a: float = ...,
    rf: float = ...,
    f: float = ...,
    code: int = ...,
    cm: float = ...,
    lat0: float = ...,
    fe: float = ...,
    fn: float = ...,
    k: float = ...,
    sp1: float = ...,
    sp2: float = ...,
    zone: int = ...,
    zone_override: int = ...,
    hemisphere: str = ...,
    cone_colat: float = ...,
    radians: bool = False,
    threads: Optional[int] = None,
    errors: Errors = None,
) -> Tuple[Float, Float]:
    """Northing, easting (m) -> (latitude, longitude in [-180, 180)): the inverse of project."""

def shift(
    lat: ArrayLike,
    lon: ArrayLike,
    h: ArrayLike = 0.0,
    *,
    a: float = ...,
    rf: float = ...,
    f: float = ...,
    seven: Optional[Sequence[float]] = ...,
    molodensky: Optional[Sequence[float]] = ...,
    inverse: bool = False,
    radians: bool = False,
    threads: Optional[int] = None,
    errors: Errors = None,
) -> Tuple[Float, Float, Float]:
    """WGS 84 latitude, longitude, height (m) -> the point on the local datum (same order) by ``seven``
    (dx, dy, dz [m], rx, ry, rz [arc-seconds], ppm) or ``molodensky`` (dx, dy, dz [m]) onto the ellipsoid
    a, rf; inverse=True: local datum -> WGS 84 (exact inverse)."""
