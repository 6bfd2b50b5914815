"""numpy peer of the value viewer's rows: numpy.savetxt of a 1000 x 1000 complex matrix into memory (opening the
viewer), numpy.savetxt with "%.15g" and a tab (Copy) and numpy.loadtxt of that text (Paste) for a 1000 x 1000 real
matrix. Uniform values in [-1000, 1000), as the program's rows."""
import io

import numpy as np

from common import row

rng = np.random.default_rng(1)
n = 1000
c = rng.uniform(-1000, 1000, (n, n)) + 1j * rng.uniform(-1000, 1000, (n, n))
row("Viewer open to first paint", n, lambda: np.savetxt(io.StringIO(), c), min_time=1e-9)

a = rng.uniform(-1000, 1000, (n, n))
row("Viewer Copy", n, lambda: np.savetxt(io.StringIO(), a, fmt="%.15g", delimiter="\t"), min_time=1e-9)
buf = io.StringIO()
np.savetxt(buf, a, fmt="%.15g", delimiter="\t")
text = buf.getvalue()
row("Viewer Paste", n, lambda: np.loadtxt(io.StringIO(text), delimiter="\t"), min_time=1e-9)
