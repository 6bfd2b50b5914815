// sparse: the library's sparse matrices (the classes, their storage, the triplet and dense conversions and the direct
// solve), the UMFPACK declarations and the C run-time layer with the report stream.
#pragma once

#include "sparse/SparseTypes.h"
#include "sparse/UMFsparse.h"
#include "sparse/ansicrtl.h"
#include "sparse/sparse_class.h"
