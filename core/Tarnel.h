// Tarnel: the vector and matrix core of the library (the vector and matrix classes, the object pool and the data
// views).
#pragma once

#include "core/mtx_class.h"
#include "core/pool.h"
#include "core/vec_class.h"
#include "core/views.h"
