"""numpy peer of the demonstration program's row "Inverse of matrix" at n = 100: numpy.linalg.inv of a matrix of
four-decimal values in [-5, 5) (as the page's grid holds them) plus numpy.savetxt("%.4f") of the inverse into memory
(the text the page writes into its result grid). The highlighting row's peer is the program's own plain load."""
import io

import numpy as np

from common import row

rng = np.random.default_rng(7)
n = 100
a = np.round(rng.uniform(-5, 5, (n, n)), 4)


def inverse():
    np.savetxt(io.StringIO(), np.linalg.inv(a), fmt="%.4f")


row("Inverse of matrix", n, inverse)
