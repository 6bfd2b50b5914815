// The vocabulary of the dense linear algebra: matrix types, operations and solver settings.
// The order of the values is part of the interface (they are streamed and compared as ordinals).
#pragma once

namespace tarnel {

enum TMtxType {
    mtSymmPosDef,
    mtSymmetric,
    mtHermPosDef,
    mtHermitian,
    mtTriangle,
    mtGeneral,
    mtBandSymmPosDef,
    mtBandHermPosDef,
    mtBandGeneral
};

enum TMtxOperation { opNone, opTran, opHerm };

enum TTriangleForm { tfLower, tfUpper };

enum TConditionNumber { cnNone, cnNorm1, cnNormInf };

enum TBalanceType { btNone, btScale, btPerm, btFull };

enum TEigGenType { etAzBz, etABz, etBAz };

enum TVectorForm { vfEig, vfSchur };

enum TSign { siPlus, siMinus };

}  // namespace tarnel
