// UMFsparse: the texts of UMFPACK's status codes and the status check of every step of a direct solve.
#include "sparse/UMFsparse.h"

#include <umfpack.h>

#include "sparse/ansicrtl.h"
#include "sparse/messages.h"

namespace tarnel {

namespace {

static_assert(UMFPACK_A == 0 && UMFPACK_At == 1 && UMFPACK_Pt_L == 3 && UMFPACK_Lt_P == 5 && UMFPACK_U_Qt == 9 &&
                  UMFPACK_Q_Ut == 11 && UMFPACK_L == 4 && UMFPACK_Lt == 7 && UMFPACK_U == 10 && UMFPACK_Ut == 13,
              "the system codes of kUmfSystems are UMFPACK's");

struct TStatusText {
    int Status;
    const char* Text;
};

// -2, -7, -9, -10, -12, -14 and -16 are codes of earlier UMFPACK versions, kept so that their texts stay known;
// 5.7 reports a singular matrix as the warning 1 and every invalid matrix as -8.
constexpr TStatusText kStatusTexts[] = {
    {UMFPACK_WARNING_singular_matrix, msg::sparse::kSingularMatrix},
    {UMFPACK_ERROR_out_of_memory, msg::sparse::kOutOfMemory},
    {-2, msg::sparse::kSingularMatrix},
    {UMFPACK_ERROR_invalid_Numeric_object, msg::sparse::kInvalidNumeric},
    {UMFPACK_ERROR_invalid_Symbolic_object, msg::sparse::kInvalidSymbolic},
    {UMFPACK_ERROR_argument_missing, msg::sparse::kArgumentMissing},
    {UMFPACK_ERROR_n_nonpositive, msg::sparse::kNNonPositive},
    {-7, msg::sparse::kNzNegative},
    {UMFPACK_ERROR_invalid_matrix, msg::sparse::kJumbledMatrix},
    {-9, msg::sparse::kAp0NonZero},
    {-10, msg::sparse::kRowIndexOutOfBounds},
    {UMFPACK_ERROR_different_pattern, msg::sparse::kDifferentPattern},
    {-12, msg::sparse::kColLengthNegative},
    {UMFPACK_ERROR_invalid_system, msg::sparse::kInvalidSystem},
    {-14, msg::sparse::kInvalidTripletStatus},
    {UMFPACK_ERROR_invalid_permutation, msg::sparse::kInvalidPermutation},
    {-16, msg::sparse::kProblemTooLarge},
    {UMFPACK_ERROR_internal_error, msg::sparse::kInternalError},
    {UMFPACK_ERROR_file_IO, msg::sparse::kFileIO},
    {UMFPACK_ERROR_ordering_failed, msg::sparse::kOrderingFailed},
};

}  // namespace

std::string UmfStatusText(int Status)
{
    if (Status == UMFPACK_OK) return {};
    for (const TStatusText& t : kStatusTexts)
        if (t.Status == Status) return t.Text;
    return msg::sparse::kStatusPrefix + std::to_string(Status);
}

void UmfErrorCheck(TSparseMtx1& Mtx, int Status, const char* Name, bool ReportAlways, bool SkipInfo)
{
    if (Status != UMFPACK_OK && Mtx.MtxError().empty()) Mtx.SetMtxError(Name + UmfStatusText(Status));
    if (Status != UMFPACK_OK || ReportAlways) {
        if (!SkipInfo) umfpack_di_report_info(Mtx.ControlArray().data(), Mtx.InfoArray().data());
        umfpack_di_report_status(Mtx.ControlArray().data(), Status);
    }
    if (Status != UMFPACK_OK) RtlStringsAppend(std::string(Name) + msg::sparse::kFailedLine + "\n");
}

}  // namespace tarnel
