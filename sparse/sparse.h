// sparse: the library's sparse matrices (the classes, their storage and the triplet and dense conversions).
#pragma once

#include "sparse/SparseTypes.h"
#include "sparse/sparse_class.h"
