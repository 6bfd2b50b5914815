// Complete elliptic integrals, Jacobi's elliptic functions and associated Legendre functions.
#include <cmath>
#include <limits>

#include "TestSupport.h"

using namespace tarnel;
using testsupport::ExpectRaise;

namespace {

class Elliptic : public testsupport::PoolCheck {};

}  // namespace

TEST_F(Elliptic, Placeholder) {}
