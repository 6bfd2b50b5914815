// TSparseMtx: MatrixMarket text and files.
//
// The writer gives coordinate files of general structure with the header of the dense writer (core/text_exchange.h)
// and its number text, the shortest that reads back to the same Double.
#include <charconv>
#include <cstdint>
#include <string>

#include "core/text_exchange.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/StringList.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

// ---- Writing ------------------------------------------------------------------------------------------------------

void AppendInteger(std::string& S, std::int64_t V)
{
    char buf[24];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, V);
    S.append(buf, r.ptr);
}

}  // namespace

// ---- Writer -----------------------------------------------------------------------------------------------------

void TSparseMtx1::ValuesToStrings(TStrings& Strings, TSparseFormat Format, bool /*Reserved*/) const
{
    if (Format != spfMatrixMarket) return;
    CheckPattern(true);
    detail::AddMatrixMarketHeader(Strings, "coordinate", FComplex);
    std::string line;
    AppendInteger(line, FRows);
    line += ' ';
    AppendInteger(line, FCols);
    line += ' ';
    AppendInteger(line, FNonZeros);
    Strings.Add(line);
    const double* v = FValues->Values();
    for (int j = 0; j < FCols; ++j) {
        for (int k = FColPointers[static_cast<std::size_t>(j)]; k < FColPointers[static_cast<std::size_t>(j) + 1];
             ++k) {
            line.clear();
            AppendInteger(line, std::int64_t{FRowIndices[static_cast<std::size_t>(k)]} + 1);
            line += "  ";
            AppendInteger(line, std::int64_t{j} + 1);
            line += "  ";
            if (FComplex) {
                line += FloatToStrShortest(v[2 * static_cast<std::size_t>(k)]);
                line += "  ";
                line += FloatToStrShortest(v[2 * static_cast<std::size_t>(k) + 1]);
            } else {
                line += FloatToStrShortest(v[k]);
            }
            Strings.Add(line);
        }
    }
}

void TSparseMtx1::SaveToMatrixMarketFile(const std::string& FileName) const
{
    TStringList lines;
    ValuesToStrings(lines, spfMatrixMarket, false);
    lines.SaveToFile(FileName);
}

// ---- Harwell-Boeing -----------------------------------------------------------------------------------------------

void TSparseMtx1::LoadFromHarwellBoeingFile(const std::string& /*FileName*/)
{
    ERaise(msg::sparse::kHarwellBoeing);
}

void TSparseMtx1::SaveToHarwellBoeingFile(const std::string& /*FileName*/) const
{
    ERaise(msg::sparse::kHarwellBoeing);
}

}  // namespace tarnel
