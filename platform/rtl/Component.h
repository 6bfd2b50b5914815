// The run-time's components: an object with an owner and a Name, and the table of its published properties that
// the component streams of the demonstration program read and write.
//
// An owner frees the components it owns when it is destroyed; a component destroyed first leaves its owner's list.
// A class publishes its properties by overriding Properties(): one TPropInfo each, in the order they are streamed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

class TComponent;

// The kinds of published property. The ordinal is the kind byte of a component stream. pkObject is an object the
// component owns (a vector, a matrix), streamed as its own body of properties; pkBinary is a block of bytes such an
// object writes for itself.
enum TPropKind : std::uint8_t {
    pkInteger = 1,
    pkDouble = 2,
    pkBoolean = 3,
    pkEnumeration = 4,
    pkString = 5,
    pkObject = 6,
    pkBinary = 7
};

// A property value: pkInteger and pkEnumeration (its ordinal) hold int32, pkDouble double, pkBoolean bool,
// pkString, pkObject (the object's body) and pkBinary std::string.
using TPropValue = std::variant<std::int32_t, double, bool, std::string>;

struct TPropInfo {
    std::string Name;
    TPropKind Kind = pkInteger;
    std::function<TPropValue(const TComponent&)> Get;
    std::function<void(TComponent&, const TPropValue&)> Set;
    // The declared default: a value equal to it is not written. Without one the value is always written.
    std::optional<TPropValue> Default;
    bool Stored = true;
    // pkEnumeration: the largest ordinal a stream may hold.
    std::int32_t MaxOrdinal = 0;
    // pkObject, optional, all three or none: the object's body streamed in place instead of through Get and Set.
    // WriteObject writes the body at the stream's position. CheckObject reads a body of exactly the stream's size
    // and raises where a read would fail, leaving every object alone; ReadObject then reads that checked body into
    // the component's object.
    std::function<void(const TComponent&, TStream&)> WriteObject = {};
    std::function<void(TStream&)> CheckObject = {};
    std::function<void(TComponent&, TStream&)> ReadObject = {};
};

// True when A and B are the same value; Doubles compare bit for bit (so -0 differs from 0 and NaN equals itself).
bool SamePropValue(const TPropValue& A, const TPropValue& B);

class TComponent {
public:
    // AOwner (may be nil) takes ownership: it frees this component when it is itself destroyed.
    explicit TComponent(TComponent* AOwner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<std::size_t>(Index)); }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }

    virtual std::string ClassName() const { return "TComponent"; }
    // The published properties, in stream order; none for the base.
    virtual const std::vector<TPropInfo>& Properties() const;
    // Called after the properties were read from a stream.
    virtual void Loaded() {}

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::string FName;
};

// The property of Component's class named Name, or nil.
const TPropInfo* FindPropInfo(const TComponent& Component, const std::string& Name);

}  // namespace tarnel
