// UMFsparse: what the library's direct solver shares about UMFPACK (SuiteSparse 5.12, UMFPACK 5.7): the control
// and info arrays, the systems it solves, the texts of its status codes and the status check of every step.
#pragma once

#include <array>
#include <string>

#include "sparse/SparseTypes.h"
#include "sparse/sparse_class.h"

namespace tarnel {

// UMFPACK's control parameters and statistics (5.7 uses the first 20 and 90 entries; the spare ones stay 0).
using TUmfControl = std::array<double, TSparseMtx1::kControlCount>;
using TUmfInfo = std::array<double, TSparseMtx1::kInfoCount>;

// The system of each TSparseSystem, by ordinal: the string kept for reports and streams, and the code UMFPACK 5.7's
// solve takes for it (UMFPACK_A, UMFPACK_At, UMFPACK_Pt_L, ...).
struct TUmfSystem {
    const char* Text;
    int Code;
};
inline constexpr TUmfSystem kUmfSystems[] = {
    {"Ax=b", 0},    {"A'x=b", 1}, {"P'Lx=b", 3}, {"L'Px=b", 5}, {"UQ'x=b", 9},
    {"QU'x=b", 11}, {"Lx=b", 4},  {"L'x=b", 7},  {"Ux=b", 10},  {"U'x=b", 13},
};

// The suffix of MtxError for a UMFPACK status: "" for 0, ": Singular matrix!" for the singular-matrix warning (1),
// the table's text for an error code, ": status " and the code for any other.
std::string UmfStatusText(int Status);

// The status handling of every step of a direct solve:
// 1. an empty MtxError becomes Name followed by UmfStatusText(Status) when Status is not 0 (the first failure of a
//    solve is the one kept);
// 2. when Status is not 0 or ReportAlways: UMFPACK's info report (unless SkipInfo), then its status report, each as
//    far as the matrix's print level asks;
// 3. when Status is not 0: the line Name + " failed!" in RtlStrings.
void UmfErrorCheck(TSparseMtx1& Mtx, int Status, const char* Name, bool ReportAlways, bool SkipInfo);

}  // namespace tarnel
