// Feldrin: the whole library in one include.
#pragma once

#include "core/Dovi387.h"
#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/Tarnel.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "sparse/sparse.h"

// Numerical methods.
#include "numerics/Optimization.h"
#include "numerics/Polynoms.h"
#include "numerics/Probabilities.h"
#include "numerics/Toeplitz.h"

// The special functions (shared library only).
#include "numerics/SpecialFuncs.h"
