#include "components/MtxBaseComp.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "core/binary_stream.h"
#include "core/pool.h"
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

// Writes an int32 length placeholder, then what Write puts in the stream, then the length of that over the
// placeholder; the stream is left at the end.
template <class F>
void WriteSized(TStream& Stream, F&& Write)
{
    const std::int64_t at = Stream.Position();
    WriteLE<std::int32_t>(Stream, 0);
    Write();
    const std::int64_t end = Stream.Position();
    const std::int64_t length = end - at - 4;
    if (length > INT32_MAX) throw EWriteError();
    Stream.SetPosition(at);
    WriteLE<std::int32_t>(Stream, static_cast<std::int32_t>(length));
    Stream.SetPosition(end);
}

void WriteBody(TStream& Stream, const TComponent& Component)
{
    WriteLE<std::uint16_t>(Stream, StreamVersion);
    for (const TPropInfo& p : Component.Properties()) {
        if (!p.Stored) continue;
        if (p.WriteObject) {
            // Always written: an object has no declared default.
            WriteLE<std::uint8_t>(Stream, TagProperty);
            WriteShortString(Stream, p.Name);
            WriteLE<std::uint8_t>(Stream, p.Kind);
            WriteSized(Stream, [&] { p.WriteObject(Component, Stream); });
            continue;
        }
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

// Bytes Start .. Start + Size - 1 of another stream, read in place as a stream of their own; writing raises.
class TWindowStream : public TStream {
public:
    TWindowStream(TStream& Base, std::int64_t Start, std::int64_t Size) : FBase(Base), FStart(Start), FSize(Size) {}

    std::int64_t Read(void* Buffer, std::int64_t Count) override
    {
        const std::int64_t n = std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(Count, 0));
        if (n == 0) return 0;
        FBase.SetPosition(FStart + FPosition);
        const std::int64_t got = FBase.Read(Buffer, n);
        FPosition += got;
        return got;
    }
    std::int64_t Write(const void*, std::int64_t) override { throw EWriteError(); }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override
    {
        const std::int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
        FPosition = std::max<std::int64_t>(base + Offset, 0);
        return FPosition;
    }
    void SetSize(std::int64_t) override { throw EWriteError(); }
    std::int64_t Size() override { return FSize; }

private:
    TStream& FBase;
    std::int64_t FStart;
    std::int64_t FSize;
    std::int64_t FPosition = 0;
};

// A property read from a record and not yet applied: its value, or for an object streamed in place where its body
// lies in the stream.
struct TReadProperty {
    const TPropInfo* Info;
    TPropValue Value;
    bool InPlace = false;
    std::int64_t BodyStart = 0;
    std::int64_t BodyLength = 0;
};

// Reads the whole body first; the component changes only once all of it is read and checked. Objects streamed in
// place are checked where they lie and read into the component last, after the other properties; a setter that
// raises undoes what was applied before it.
void ReadBody(TStream& Stream, TComponent& Component)
{
    const std::string cls = Component.ClassName();
    std::vector<TReadProperty> values;
    std::string current;
    std::int64_t endOfRecord = 0;
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
            if (!info->CheckObject || !info->ReadObject) {
                values.push_back({info, ReadPayload(Stream, *info, length)});
                continue;
            }
            const std::int64_t start = Stream.Position();
            if (length < 0 || length > Stream.Size() - start) throw EStreamError("Stream read error");
            TWindowStream body(Stream, start, length);
            try {
                info->CheckObject(body);
            } catch (const EStreamError&) {
                throw;
            } catch (const Exception& e) {
                throw EStreamError(e.Message());
            }
            Stream.SetPosition(start + length);
            values.push_back({info, TPropValue(), true, start, length});
        }
        endOfRecord = Stream.Position();
    } catch (const EStreamError& e) {
        Corrupt(cls, current, e.Message());
    }

    std::stable_partition(values.begin(), values.end(), [](const TReadProperty& v) { return !v.InPlace; });
    std::vector<std::pair<const TPropInfo*, TPropValue>> before;
    for (const TReadProperty& v : values)
        if (!v.InPlace) before.emplace_back(v.Info, v.Info->Get(Component));
    std::size_t applied = 0;
    try {
        for (; applied < values.size(); ++applied) {
            const TPropInfo& info = *values[applied].Info;
            if (info.Kind != pkObject) {
                info.Set(Component, values[applied].Value);
                continue;
            }
            try {
                if (values[applied].InPlace) {
                    TWindowStream body(Stream, values[applied].BodyStart, values[applied].BodyLength);
                    info.ReadObject(Component, body);
                } else {
                    info.Set(Component, values[applied].Value);
                }
            } catch (const Exception& e) {
                throw EStreamError(cls + "." + info.Name + ": " + e.Message());
            }
        }
    } catch (...) {
        // The objects read in place come last, and after the check above their readers can fail only before they
        // change the object (a vector viewing a sub-range) or by running out of memory: what is undone is the
        // properties set before them.
        applied = std::min(applied, before.size());
        while (applied-- > 0) before[applied].first->Set(Component, before[applied].second);
        throw;
    }
    Stream.SetPosition(endOfRecord);
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

// The body of a vector or matrix property written at the stream's position, its values straight from the object.
template <class T>
void WriteObjectBody(TStream& Stream, const T& Object)
{
    WriteLE<std::uint16_t>(Stream, StreamVersion);
    WriteLE<std::uint8_t>(Stream, TagProperty);
    WriteShortString(Stream, DataValuesName);
    WriteLE<std::uint8_t>(Stream, pkBinary);
    WriteSized(Stream, [&] { Object.SaveBinaryStream(Stream); });
    WriteLE<std::uint8_t>(Stream, TagEnd);
}

// Reads a body, all of Body, around Read, which is given the "DataValues" bytes as a stream of their own and must
// read all of them. The object's own reader's errors ("Error reading stream!", "Wrong file format!") become
// EStreamError.
template <class F>
void ReadObjectFrame(TStream& Body, F&& Read)
{
    try {
        if (ReadLE<std::uint16_t>(Body) != StreamVersion) throw EStreamError("unknown version of the record");
        if (ReadLE<std::uint8_t>(Body) != TagProperty || ReadShortString(Body) != DataValuesName ||
            ReadLE<std::uint8_t>(Body) != pkBinary)
            throw EStreamError("invalid record");
        const std::int32_t length = ReadLE<std::int32_t>(Body);
        const std::int64_t start = Body.Position();
        if (length < 0 || length != Body.Size() - start - 1) throw EStreamError("wrong length of value");
        TWindowStream data(Body, start, length);
        Read(data);
        Body.SetPosition(start + length);
        if (data.Position() != length || ReadLE<std::uint8_t>(Body) != TagEnd) throw EStreamError("invalid record");
    } catch (const EStreamError&) {
        throw;
    } catch (const Exception& e) {
        throw EStreamError(e.Message());
    }
}

// True when a vector's "DataValues" read by LoadBinaryStream would succeed and take exactly all of Data, told from
// its header alone: the header is checked as the reader checks it (on a vector that is thrown away), and its values
// are Doubles filling the rest. False where only a full read can tell (other encodings, the older versions).
bool DoubleValuesFit(TStream& Data)
{
    // The probe is given the shape its header gives (the first two singles: Complex, Length) over an array that is
    // never touched, so that reading the header does not allocate and zero a block for a throwaway vector. The shape
    // is only a guess: the header reader checks all of it, and resizes the probe where the guess was wrong.
    std::unique_ptr<double[]> room;  // outlives the probe that views it
    TVec probe;
    float shape[2];
    const std::int64_t start = Data.Position();
    if (Data.Read(shape, sizeof shape) == sizeof shape && (shape[0] == 0 || shape[0] == 1) && shape[1] >= 0 &&
        shape[1] <= 16777216 && shape[1] == std::floor(shape[1])) {
        const std::int64_t numbers = static_cast<std::int64_t>(shape[1]) * (shape[0] == 1 ? 2 : 1);
        if (numbers > 0 && numbers * static_cast<std::int64_t>(sizeof(double)) <= Data.Size()) {
            room.reset(new double[static_cast<std::size_t>(numbers)]);
            try {
                probe.Adopt(room.get(), numbers, static_cast<int>(shape[1]), shape[0] == 1);
            } catch (const Exception&) {
                // A shape no vector takes: the header reader below says why.
            }
        }
    }
    Data.SetPosition(start);
    if (probe.ReadHeader(Data) != prDouble) return false;
    const std::int64_t numbers = static_cast<std::int64_t>(probe.Length()) * (probe.Complex() ? 2 : 1);
    return Data.Size() - Data.Position() == numbers * static_cast<std::int64_t>(sizeof(double));
}

template <class T>
void CheckBody(TStream& Body)
{
    ReadObjectFrame(Body, [](TStream& Data) {
        if constexpr (std::is_same_v<T, TVec>) {
            if (DoubleValuesFit(Data)) {
                Data.SetPosition(Data.Size());
                return;
            }
            Data.SetPosition(0);
        }
        T read;
        read.LoadBinaryStream(Data);
    });
}

// Reads a checked body into Object where it is, as Assign from the object read would leave it (Dirty False). Without
// TarnelAssignCopyData, Assign copies no values: the body is read aside and assigned then.
template <class T>
void ReadBodyInPlace(T& Object, TStream& Body)
{
    ReadObjectFrame(Body, [&](TStream& Data) {
        if (!TarnelAssignCopyData) {
            T read;
            read.LoadBinaryStream(Data);
            Object.Assign(read);
            return;
        }
        Object.LoadBinaryStream(Data);
        Object.SetDirty(false);
    });
}

template <class T>
std::string BodyOf(const T& Object)
{
    TMemoryStream body;
    WriteObjectBody(body, Object);
    return {static_cast<const char*>(body.Memory()), static_cast<std::size_t>(body.Size())};
}

template <class T>
void AssignBody(T& Object, const std::string& Body)
{
    TStringStream body(Body);
    T read;
    ReadObjectFrame(body, [&](TStream& Data) { read.LoadBinaryStream(Data); });
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
void WriteObjectBody(TStream& Stream, const TVec& V)
{
    WriteObjectBody<TVec>(Stream, V);
}
void WriteObjectBody(TStream& Stream, const TMtx& M)
{
    WriteObjectBody<TMtx>(Stream, M);
}
void CheckVecBody(TStream& Body)
{
    CheckBody<TVec>(Body);
}
void CheckMtxBody(TStream& Body)
{
    CheckBody<TMtx>(Body);
}
void ReadObjectBody(TVec& V, TStream& Body)
{
    ReadBodyInPlace(V, Body);
}
void ReadObjectBody(TMtx& M, TStream& Body)
{
    ReadBodyInPlace(M, Body);
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
    // A record that cannot be read leaves this component unchanged: the load changes nothing then, and what the reset
    // changed is set back, in reverse order so that a flag such as Dirty, which the other setters raise, ends as it
    // was. Objects streamed in place are neither reset nor kept aside.
    std::vector<std::pair<const TPropInfo*, TPropValue>> before;
    for (const TPropInfo& p : Properties())
        if (p.Stored && p.Get && p.Set && !p.ReadObject) before.emplace_back(&p, p.Get(*this));
    try {
        ResetStoredProperties(*this);
        LoadFromStream(m);
    } catch (...) {
        for (auto it = before.rbegin(); it != before.rend(); ++it) it->first->Set(*this, it->second);
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
