// What the polynomial and piecewise-polynomial files share. Internal to the library.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include "core/vec_class.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel::detail {

// Y := the polynomial Coeff at X (kinds already checked equal); Y may be X or Coeff.
void PolyEvalInto(const TVecs& X, const TVecs& Coeff, TVecs& Y);

// The threshold of the divisions by abscissa differences: a divisor below it in magnitude divides as the threshold.
inline constexpr double kPieceThreshold = 5.56268464626801E-309;

// The condition checks of the caller's vectors off (CondDisable) for the guard's life, restored (CondEnable) in
// reverse order on every way out. A vector whose checks are off already is left alone (CondDisable keeps one saved
// setting, so a vector given twice, or again by a nested routine, must be switched once).
class TCondOff {
public:
    TCondOff(std::initializer_list<const TVecs*> Vecs)
    {
        for (const TVecs* v : Vecs) {
            if (v == nullptr || !v->ConditionCheck()) continue;
            FVecs[FCount++] = const_cast<TVecs*>(v);  // the setting is restored before the caller sees it again
            FVecs[FCount - 1]->CondDisable();
        }
    }
    ~TCondOff()
    {
        while (FCount > 0) FVecs[--FCount]->CondEnable();
    }
    TCondOff(const TCondOff&) = delete;
    TCondOff& operator=(const TCondOff&) = delete;

private:
    std::array<TVecs*, 4> FVecs{};
    int FCount = 0;
};

// Runs Work; a tarnel::Exception it raises comes out as Prefix + its message, others pass unchanged.
template <class F>
void Wrapped(const char* Prefix, F&& Work)
{
    try {
        Work();
    } catch (const Exception& E) {
        throw Exception(std::string(Prefix) + E.what());
    }
}

}  // namespace tarnel::detail
