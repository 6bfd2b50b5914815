"""numpy peer of the matrix norm rows: numpy.linalg.norm with ord 1 and inf of 500 x 500 matrices holding
sin(i) (+ i·cos(i) for the complex one), as bench_mtx.cpp fills them."""
import numpy as np

from common import row

N = 500
i = np.arange(N * N, dtype=np.float64)
real = np.sin(i).reshape(N, N)
cplx = (np.sin(i) + 1j * np.cos(i)).reshape(N, N)

row("Norm1 real", N, lambda: np.linalg.norm(real, 1))
row("NormInf real", N, lambda: np.linalg.norm(real, np.inf))
row("Norm1 complex", N, lambda: np.linalg.norm(cplx, 1))
row("NormInf complex", N, lambda: np.linalg.norm(cplx, np.inf))
