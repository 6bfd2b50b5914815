// The base of the demonstration program's non-visual components: persistence of the published properties to
// streams and files under the class name, Assign through that stream, and a busy flag raised around operations.
//
// The record of a component:
//   int32 L, then L 8-bit characters: the class name (WriteShortString / ReadShortString)
//   uint16 version (1)
//   per written property:
//     uint8 1 (property tag), the name as a short string, uint8 kind (TPropKind), int32 payload length, the payload
//       pkInteger, pkEnumeration: int32 (the ordinal for an enumeration); pkDouble: the 8 bytes of the IEEE double;
//       pkBoolean: one byte 0 or 1; pkString: the characters
//       pkObject: the object's own body (a version, its properties, an end tag) as below; pkBinary: the bytes
//   uint8 0 (end tag)
// A vector or matrix property is a pkObject whose body holds one property, "DataValues" (pkBinary): the object's
// SaveToStream with prDouble, rnTrunc.
// All numbers little-endian. The record is written with Name empty; Name and events never stream. A property equal
// to its declared default is left out; one without a declared default is always written.
#pragma once

#include <string>

#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"

namespace tarnel {

class TMtxComponent : public TComponent {
public:
    explicit TMtxComponent(TComponent* AOwner) : TComponent(AOwner) {}

    bool Busy() const { return FBusy; }
    virtual void SetBusy(bool Value) { FBusy = Value; }
    // Whether the component can run its computation now; True here, for descendants to refine.
    virtual bool CanExecute() const { return true; }
    // A text describing the component's state for its owner; empty here.
    virtual std::string StateText() const { return ""; }

    // The record above. Saving writes with Name empty and leaves Name as it was.
    virtual void SaveToStream(TStream& Stream);
    // Reads and checks the whole record before any property changes: a record of another class raises
    // "Data format type missmatch: <name read> <> <own class>"; a cut or corrupt record raises naming the property,
    // and the component is left unchanged. Properties the record does not hold keep their values; Name is kept.
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToFile(const std::string& FileName);
    // A missing file is ignored.
    virtual void LoadFromFile(const std::string& FileName);
    // Copies Source, a component of the same class: the stored properties are first reset (declared defaults,
    // Doubles 0), then Source's record is loaded. Another class raises EConvertError naming both classes.
    virtual void Assign(TMtxComponent& Source);

    // The operations with the busy flag set around them, on this component and for BusyAssign on Source too. When the
    // operation raises, the flags stay set.
    virtual void BusyAssign(TMtxComponent& Source);
    virtual void BusyLoadFromStream(TStream& Stream);
    virtual void BusyLoadFromFile(const std::string& FileName);
    virtual void BusySaveToStream(TStream& Stream);
    virtual void BusySaveToFile(const std::string& FileName);

private:
    bool FBusy = false;
};

// The pkObject body of a vector or matrix property, and the object read back from it. Reading checks the whole body
// and raises EStreamError before V changes; the values are then copied in with Assign.
std::string ObjectBody(const TVec& V);
std::string ObjectBody(const TMtx& M);
void AssignObjectBody(TVec& V, const std::string& Body);
void AssignObjectBody(TMtx& M, const std::string& Body);
// The same body streamed in place, for a property's WriteObject, CheckObject and ReadObject (TPropInfo): written at
// the stream's position; checked, all of Body, as AssignObjectBody reads it, raising EStreamError and changing
// nothing; read into the object itself, which ends as AssignObjectBody would leave it.
void WriteObjectBody(TStream& Stream, const TVec& V);
void WriteObjectBody(TStream& Stream, const TMtx& M);
void CheckVecBody(TStream& Body);
void CheckMtxBody(TStream& Body);
void ReadObjectBody(TVec& V, TStream& Body);
void ReadObjectBody(TMtx& M, TStream& Body);

// Sets every stored property of Component that has a declared default to it, Doubles to 0; others are left alone.
void ResetStoredProperties(TComponent& Component);

}  // namespace tarnel
