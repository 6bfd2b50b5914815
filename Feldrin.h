// Feldrin: the whole library in one include.
#pragma once

#include "core/Dovi387.h"
#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/Startup.h"
#include "core/Tarnel.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/Streams.h"
#include "sparse/sparse.h"

// The special functions (shared library only).
#include "numerics/SpecialFuncs.h"
