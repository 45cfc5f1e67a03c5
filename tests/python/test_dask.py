# Conversion of a chunked array with dask.array.map_blocks on a two-process distributed cluster: the
# transformer travels to the workers by pickling and every chunk converts exactly as in one process.
import numpy as np
import pytest

import geodex

da = pytest.importorskip("dask.array")
distributed = pytest.importorskip("distributed")


def grid_block(block, transformer):
    """(n, 3) rows of latitude, longitude (degrees), height (m) -> (n, 3) rows of northing, easting,
    height (m); one thread per block, the cluster provides the parallelism."""
    return np.stack(transformer.to_grid(block[:, 0], block[:, 1], block[:, 2], threads=1), axis=1)


# Debian's tornado warns about its own event-loop set-up when distributed starts a cluster.
@pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")
def test_map_blocks_on_a_local_cluster_equals_the_in_process_result(tmp_path):
    rng = np.random.default_rng(2)
    n = 200_000
    points = np.stack([rng.uniform(30, 36, n), rng.uniform(114, 120, n), rng.uniform(0, 2000, n)], axis=1)
    points[12345, 0] = 95.0  # a failing point keeps its place as NaN
    np.save(tmp_path / "points.npy", points)
    t = geodex.Transformer(a=6378245, rf=298.3, seven=(15.8, -154.4, -82.3, 2.3, -1.2, 3.5, 4.2),
                           code=32, cm=117, fe=500000)

    expected = np.stack(t.to_grid(points[:, 0], points[:, 1], points[:, 2]), axis=1)
    chunked = da.from_array(np.load(tmp_path / "points.npy", mmap_mode="r"), chunks=(30_000, 3))
    grid = chunked.map_blocks(grid_block, t, dtype=np.float64)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        assert len(client.scheduler_info()["workers"]) == 2
        result = grid.compute(scheduler=client)
    assert result.tobytes() == expected.tobytes()
    assert np.isnan(result[12345]).all() and np.isfinite(np.delete(result, 12345, axis=0)).all()
