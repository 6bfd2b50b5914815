#include "platform/rtl/Component.h"

#include <algorithm>
#include <bit>

namespace tarnel {

bool SamePropValue(const TPropValue& A, const TPropValue& B)
{
    if (A.index() != B.index()) return false;
    if (const double* a = std::get_if<double>(&A))
        return std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(std::get<double>(B));
    return A == B;
}

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner)
{
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    // Each owned component removes itself from the list as it goes.
    while (!FComponents.empty()) delete FComponents.back();
    if (FOwner) {
        auto& list = FOwner->FComponents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

const std::vector<TPropInfo>& TComponent::Properties() const
{
    static const std::vector<TPropInfo> none;
    return none;
}

const TPropInfo* FindPropInfo(const TComponent& Component, const std::string& Name)
{
    for (const TPropInfo& p : Component.Properties())
        if (p.Name == Name) return &p;
    return nullptr;
}

}  // namespace tarnel
