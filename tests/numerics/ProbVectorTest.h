// Shared by the suites of the vector forms of Probabilities: filling a vector, and the calling rules every form
// keeps (an empty X gives an empty Res; a complex X raises the form's text with Res untouched).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace probtest {

inline void Fill(tarnel::TVec& V, const std::vector<double>& Values)
{
    V.Size(static_cast<int>(Values.size()), false);
    for (std::size_t i = 0; i < Values.size(); ++i) V.Values()[i] = Values[i];
}

inline void ExpectEmptyAndComplexRules(const std::function<void(const tarnel::TVec&, tarnel::TVec&)>& Form,
                                       const std::string& Message, const std::string& Name)
{
    tarnel::TVec empty, res;
    Fill(res, {4, 5});
    Form(empty, res);
    EXPECT_EQ(res.Length(), 0) << Name;

    tarnel::TVec c;
    c.Size(2, true);
    Fill(res, {4, 5});
    testsupport::ExpectRaise([&] { Form(c, res); }, Message, Name);
    EXPECT_EQ(res.Length(), 2) << Name;
    EXPECT_EQ(res.Values()[1], 5) << Name;
}

}  // namespace probtest
