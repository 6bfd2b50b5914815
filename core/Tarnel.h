// Tarnel: the vector and matrix core of the library (the vector and matrix classes, the object pool and the data
// views, the owning lists, the grid of cells for the text exchange).
#pragma once

#include "core/CellGrid.h"
#include "core/lists.h"
#include "core/mtx_class.h"
#include "core/pool.h"
#include "core/vec_class.h"
#include "core/views.h"
