"""numpy/scipy peer of the grid series page's animation tick (bench/bench_component_pages.cpp): a random 2000 x 2000
sparse matrix of the page's density (scipy.sparse.random, COO, about 20000 entries) and its 500 x 500 pattern
picture, the entries of each 4 x 4 block times 1/16 (numpy.bincount). The same peer stands against the row with the
repaint, which shows what the series and the chart add. One thread (OPENBLAS_NUM_THREADS=1 from scripts/bench)."""
import numpy as np
import scipy.sparse

from common import row

N, PIXELS, DENSITY = 2000, 500, 0.005
rng = np.random.default_rng()


def tick():
    a = scipy.sparse.random(N, N, density=DENSITY, format="coo", random_state=rng)
    scale = PIXELS / N
    cells = (a.row * scale).astype(np.int64) * PIXELS + (a.col * scale).astype(np.int64)
    return np.bincount(cells, minlength=PIXELS * PIXELS).reshape(PIXELS, PIXELS) * (scale * scale)


row("Grid animation tick", N, tick)
row("Grid animation tick with repaint", N, tick)
