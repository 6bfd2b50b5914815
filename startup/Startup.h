// Start-up and shut-down of the whole library.
//
// Loading the library starts its modules in a fixed order and unloading stops them in the reverse order;
// programs need not call these. Both are counted, so explicit calls in pairs are harmless.
//
// Module state is constant-initialised (plain values and pointers) and built by the module's Initialize,
// so the order in which the compiler runs initialisers of different files never matters.
#pragma once

namespace tarnel {

void FeldrinInitialize();
void FeldrinFinalize();

}  // namespace tarnel
