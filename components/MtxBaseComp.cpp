#include "components/MtxBaseComp.h"

#include <sys/stat.h>

#include <bit>
#include <cstring>
#include <memory>
#include <utility>

#include "core/binary_stream.h"
#include "platform/rtl/NumText.h"

namespace tarnel {

namespace {

constexpr std::uint16_t StreamVersion = 1;
constexpr std::uint8_t TagEnd = 0;
constexpr std::uint8_t TagProperty = 1;

template <class T>
void WriteLE(TStream& Stream, T Value)
{
    unsigned char b[sizeof(T)];
    auto u = std::bit_cast<std::make_unsigned_t<std::conditional_t<std::is_same_v<T, double>, std::int64_t, T>>>(Value);
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
    Stream.WriteBuffer(b, sizeof(T));
}

template <class T>
T ReadLE(TStream& Stream)
{
    unsigned char b[sizeof(T)];
    Stream.ReadBuffer(b, sizeof(T));
    using U = std::make_unsigned_t<std::conditional_t<std::is_same_v<T, double>, std::int64_t, T>>;
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<U>(static_cast<U>(b[i]) << (8 * i));
    return std::bit_cast<T>(u);
}

void WriteProperty(TStream& Stream, const TPropInfo& Info, const TPropValue& Value)
{
    WriteLE<std::uint8_t>(Stream, TagProperty);
    WriteShortString(Stream, Info.Name);
    WriteLE<std::uint8_t>(Stream, Info.Kind);
    switch (Info.Kind) {
        case pkInteger:
        case pkEnumeration:
            WriteLE<std::int32_t>(Stream, 4);
            WriteLE<std::int32_t>(Stream, std::get<std::int32_t>(Value));
            break;
        case pkDouble:
            WriteLE<std::int32_t>(Stream, 8);
            WriteLE<double>(Stream, std::get<double>(Value));
            break;
        case pkBoolean:
            WriteLE<std::int32_t>(Stream, 1);
            WriteLE<std::uint8_t>(Stream, std::get<bool>(Value) ? 1 : 0);
            break;
        case pkString:
        case pkObject:
        case pkBinary: {
            const std::string& s = std::get<std::string>(Value);
            WriteLE<std::int32_t>(Stream, static_cast<std::int32_t>(s.size()));
            Stream.WriteBuffer(s.data(), static_cast<std::int64_t>(s.size()));
            break;
        }
    }
}

void WriteBody(TStream& Stream, const TComponent& Component)
{
    WriteLE<std::uint16_t>(Stream, StreamVersion);
    for (const TPropInfo& p : Component.Properties()) {
        if (!p.Stored) continue;
        TPropValue v = p.Get(Component);
        if (p.Default && SamePropValue(v, *p.Default)) continue;
        WriteProperty(Stream, p, v);
    }
    WriteLE<std::uint8_t>(Stream, TagEnd);
}

[[noreturn]] void Corrupt(const std::string& ClassName, const std::string& Property, const std::string& Reason)
{
    throw EStreamError(ClassName + (Property.empty() ? "" : "." + Property) + ": " + Reason);
}

TPropValue ReadPayload(TStream& Stream, const TPropInfo& Info, std::int32_t Length)
{
    const TPropKind Kind = Info.Kind;
    auto expect = [&](std::int32_t n) {
        if (Length != n) throw EStreamError("wrong length of value");
    };
    switch (Kind) {
        case pkInteger:
        case pkEnumeration: {
            expect(4);
            const std::int32_t v = ReadLE<std::int32_t>(Stream);
            if (Kind == pkEnumeration && (v < 0 || v > Info.MaxOrdinal)) throw EStreamError("value out of range");
            return v;
        }
        case pkDouble:
            expect(8);
            return ReadLE<double>(Stream);
        case pkBoolean: {
            expect(1);
            std::uint8_t b = ReadLE<std::uint8_t>(Stream);
            if (b > 1) throw EStreamError("invalid Boolean value");
            return b == 1;
        }
        case pkString:
        case pkObject:
        case pkBinary: {
            if (Length < 0 || Length > Stream.Size() - Stream.Position()) throw EStreamError("Stream read error");
            std::string s(static_cast<std::size_t>(Length), '\0');
            Stream.ReadBuffer(s.data(), Length);
            return s;
        }
    }
    throw EStreamError("unknown kind of value");
}

// Reads the whole body first; the component changes only once all of it is read and checked. A setter that raises
// undoes what was applied before it.
void ReadBody(TStream& Stream, TComponent& Component)
{
    const std::string cls = Component.ClassName();
    std::vector<std::pair<const TPropInfo*, TPropValue>> values;
    std::string current;
    try {
        if (ReadLE<std::uint16_t>(Stream) != StreamVersion) throw EStreamError("unknown version of the record");
        for (;;) {
            current.clear();
            std::uint8_t tag = ReadLE<std::uint8_t>(Stream);
            if (tag == TagEnd) break;
            if (tag != TagProperty) throw EStreamError("invalid record");
            current = ReadShortString(Stream);
            const TPropInfo* info = FindPropInfo(Component, current);
            if (!info || !info->Stored) throw EStreamError("no such property");
            auto kind = static_cast<TPropKind>(ReadLE<std::uint8_t>(Stream));
            if (kind != info->Kind) throw EStreamError("wrong kind of value");
            std::int32_t length = ReadLE<std::int32_t>(Stream);
            values.emplace_back(info, ReadPayload(Stream, *info, length));
        }
    } catch (const EStreamError& e) {
        Corrupt(cls, current, e.Message());
    }

    std::vector<std::pair<const TPropInfo*, TPropValue>> before;
    for (const auto& [info, v] : values) before.emplace_back(info, info->Get(Component));
    std::size_t applied = 0;
    try {
        for (; applied < values.size(); ++applied) {
            const TPropInfo& info = *values[applied].first;
            if (info.Kind != pkObject) {
                info.Set(Component, values[applied].second);
                continue;
            }
            try {
                info.Set(Component, values[applied].second);
            } catch (const Exception& e) {
                throw EStreamError(cls + "." + info.Name + ": " + e.Message());
            }
        }
    } catch (...) {
        while (applied-- > 0) before[applied].first->Set(Component, before[applied].second);
        throw;
    }
    Component.Loaded();
}

// Restores the component's Name when the scope ends, also by an exception.
class TNameKeeper {
public:
    explicit TNameKeeper(TComponent& C, bool Clear) : FC(C), FName(C.Name())
    {
        if (Clear) FC.SetName("");
    }
    ~TNameKeeper() { FC.SetName(FName); }

private:
    TComponent& FC;
    std::string FName;
};

const char* const DataValuesName = "DataValues";

template <class T>
std::string BodyOf(const T& Object)
{
    TMemoryStream data;
    Object.SaveBinaryStream(data);
    TMemoryStream body;
    WriteLE<std::uint16_t>(body, StreamVersion);
    WriteLE<std::uint8_t>(body, TagProperty);
    WriteShortString(body, DataValuesName);
    WriteLE<std::uint8_t>(body, pkBinary);
    WriteLE<std::int32_t>(body, static_cast<std::int32_t>(data.Size()));
    body.WriteBuffer(data.Memory(), data.Size());
    WriteLE<std::uint8_t>(body, TagEnd);
    return {static_cast<const char*>(body.Memory()), static_cast<std::size_t>(body.Size())};
}

template <class T>
void AssignBody(T& Object, const std::string& Body)
{
    TStringStream body(Body);
    T read;
    try {
        if (ReadLE<std::uint16_t>(body) != StreamVersion) throw EStreamError("unknown version of the record");
        if (ReadLE<std::uint8_t>(body) != TagProperty || ReadShortString(body) != DataValuesName ||
            ReadLE<std::uint8_t>(body) != pkBinary)
            throw EStreamError("invalid record");
        const std::int32_t length = ReadLE<std::int32_t>(body);
        if (length < 0 || length != body.Size() - body.Position() - 1) throw EStreamError("wrong length of value");
        const std::int64_t end = body.Position() + length;
        read.LoadBinaryStream(body);
        if (body.Position() != end || ReadLE<std::uint8_t>(body) != TagEnd) throw EStreamError("invalid record");
    } catch (const EStreamError&) {
        throw;
    } catch (const Exception& e) {
        // The vector's or matrix's own reader ("Error reading stream!", "Wrong file format!").
        throw EStreamError(e.Message());
    }
    Object.Assign(read);
}

}  // namespace

std::string ObjectBody(const TVec& V)
{
    return BodyOf(V);
}
std::string ObjectBody(const TMtx& M)
{
    return BodyOf(M);
}
void AssignObjectBody(TVec& V, const std::string& Body)
{
    AssignBody(V, Body);
}
void AssignObjectBody(TMtx& M, const std::string& Body)
{
    AssignBody(M, Body);
}

void ResetStoredProperties(TComponent& Component)
{
    for (const TPropInfo& p : Component.Properties()) {
        if (!p.Stored || !p.Get || !p.Set) continue;
        switch (p.Kind) {
            case pkInteger:
            case pkEnumeration:
            case pkBoolean:
                if (p.Default) p.Set(Component, *p.Default);
                break;
            case pkDouble:
                p.Set(Component, 0.0);
                break;
            case pkString:
            case pkObject:
            case pkBinary:
                break;
        }
    }
}

void TMtxComponent::SaveToStream(TStream& Stream)
{
    WriteShortString(Stream, ClassName());
    TNameKeeper keep(*this, true);
    WriteBody(Stream, *this);
}

void TMtxComponent::LoadFromStream(TStream& Stream)
{
    const std::string name = ReadShortString(Stream);
    if (name != ClassName()) throw Exception("Data format type missmatch: " + name + " <> " + ClassName());
    TNameKeeper keep(*this, false);
    ReadBody(Stream, *this);
}

void TMtxComponent::SaveToFile(const std::string& FileName)
{
    TFileStream f(FileName, fmCreate);
    SaveToStream(f);
}

void TMtxComponent::LoadFromFile(const std::string& FileName)
{
    struct stat st;
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMtxComponent::Assign(TMtxComponent& Source)
{
    if (Source.ClassName() != ClassName())
        throw EConvertError("Cannot assign a " + Source.ClassName() + " to a " + ClassName());
    if (&Source == this) return;
    TMemoryStream m;
    Source.SaveToStream(m);
    m.SetPosition(0);
    // The record is checked before the reset, so a record that cannot be read leaves this component unchanged.
    std::vector<std::pair<const TPropInfo*, TPropValue>> before;
    for (const TPropInfo& p : Properties())
        if (p.Stored && p.Get && p.Set) before.emplace_back(&p, p.Get(*this));
    try {
        ResetStoredProperties(*this);
        LoadFromStream(m);
    } catch (...) {
        for (auto& [info, v] : before) info->Set(*this, v);
        throw;
    }
}

void TMtxComponent::BusyAssign(TMtxComponent& Source)
{
    SetBusy(true);
    Source.SetBusy(true);
    Assign(Source);
    Source.SetBusy(false);
    SetBusy(false);
}

void TMtxComponent::BusyLoadFromStream(TStream& Stream)
{
    SetBusy(true);
    LoadFromStream(Stream);
    SetBusy(false);
}

void TMtxComponent::BusyLoadFromFile(const std::string& FileName)
{
    SetBusy(true);
    LoadFromFile(FileName);
    SetBusy(false);
}

void TMtxComponent::BusySaveToStream(TStream& Stream)
{
    SetBusy(true);
    SaveToStream(Stream);
    SetBusy(false);
}

void TMtxComponent::BusySaveToFile(const std::string& FileName)
{
    SetBusy(true);
    SaveToFile(FileName);
    SetBusy(false);
}

}  // namespace tarnel
