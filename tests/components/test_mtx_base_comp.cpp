// Component persistence: the record's bytes, loading into another instance, Assign's reset, files, the busy flags,
// and records cut or damaged anywhere leaving the component as it was.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <vector>

#include "components/MtxBaseComp.h"
#include "platform/rtl/NumText.h"

namespace tarnel {
namespace {

enum TShape { shRound, shSquare, shStar };

// A component with one property of each kind; Count refuses negative values.
class TSample : public TMtxComponent {
public:
    using TMtxComponent::TMtxComponent;
    ~TSample() override
    {
        if (FDestroyed) ++*FDestroyed;
    }
    std::string ClassName() const override { return "TSample"; }
    const std::vector<TPropInfo>& Properties() const override
    {
        static const std::vector<TPropInfo> props = {
            {"Count", pkInteger, [](const TComponent& c) { return TPropValue(S(c).Count); },
             [](TComponent& c, const TPropValue& v) {
                 if (std::get<std::int32_t>(v) < 0) throw Exception("Count must not be negative");
                 S(c).Count = std::get<std::int32_t>(v);
             },
             TPropValue(std::int32_t{10})},
            {"Tolerance", pkDouble, [](const TComponent& c) { return TPropValue(S(c).Tolerance); },
             [](TComponent& c, const TPropValue& v) { S(c).Tolerance = std::get<double>(v); }, std::nullopt},
            {"Active", pkBoolean, [](const TComponent& c) { return TPropValue(S(c).Active); },
             [](TComponent& c, const TPropValue& v) { S(c).Active = std::get<bool>(v); }, TPropValue(false)},
            {"Shape", pkEnumeration, [](const TComponent& c) { return TPropValue(std::int32_t{S(c).Shape}); },
             [](TComponent& c, const TPropValue& v) { S(c).Shape = static_cast<TShape>(std::get<std::int32_t>(v)); },
             TPropValue(std::int32_t{shRound}), true, shStar},
            {"Caption", pkString, [](const TComponent& c) { return TPropValue(S(c).Caption); },
             [](TComponent& c, const TPropValue& v) { S(c).Caption = std::get<std::string>(v); }, std::nullopt},
        };
        return props;
    }
    void Loaded() override { ++LoadedCalls; }

    std::int32_t Count = 10;
    double Tolerance = 1e-8;
    bool Active = false;
    TShape Shape = shRound;
    std::string Caption;
    int LoadedCalls = 0;
    int* FDestroyed = nullptr;

private:
    static TSample& S(TComponent& c) { return static_cast<TSample&>(c); }
    static const TSample& S(const TComponent& c) { return static_cast<const TSample&>(c); }
};

class TOther : public TMtxComponent {
public:
    using TMtxComponent::TMtxComponent;
    std::string ClassName() const override { return "TOther"; }
};

std::vector<unsigned char> Bytes(TMtxComponent& c)
{
    TMemoryStream m;
    c.SaveToStream(m);
    auto p = static_cast<const unsigned char*>(m.Memory());
    return {p, p + m.Size()};
}

void Load(TMtxComponent& c, const std::vector<unsigned char>& b)
{
    TMemoryStream m;
    m.WriteBuffer(b.data(), static_cast<std::int64_t>(b.size()));
    m.SetPosition(0);
    c.LoadFromStream(m);
}

// Every property, Doubles bit for bit.
void ExpectSame(const TSample& a, const TSample& b)
{
    EXPECT_EQ(a.Count, b.Count);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.Tolerance), std::bit_cast<std::uint64_t>(b.Tolerance));
    EXPECT_EQ(a.Active, b.Active);
    EXPECT_EQ(a.Shape, b.Shape);
    EXPECT_EQ(a.Caption, b.Caption);
}

TEST(ComponentStream, RecordBytes)
{
    TSample c(nullptr);
    c.SetName("Sample1");
    c.Count = 7;
    c.Tolerance = -0.0;
    c.Shape = shStar;
    // clang-format off
    const std::vector<unsigned char> want = {
        7, 0, 0, 0, 'T', 'S', 'a', 'm', 'p', 'l', 'e',
        1, 0,
        1, 5, 0, 0, 0, 'C', 'o', 'u', 'n', 't', pkInteger, 4, 0, 0, 0, 7, 0, 0, 0,
        1, 9, 0, 0, 0, 'T', 'o', 'l', 'e', 'r', 'a', 'n', 'c', 'e', pkDouble, 8, 0, 0, 0,
            0, 0, 0, 0, 0, 0, 0, 0x80,
        // Active equals its default and is left out; Caption has no default and is written even when empty.
        1, 5, 0, 0, 0, 'S', 'h', 'a', 'p', 'e', pkEnumeration, 4, 0, 0, 0, 2, 0, 0, 0,
        1, 7, 0, 0, 0, 'C', 'a', 'p', 't', 'i', 'o', 'n', pkString, 0, 0, 0, 0,
        0};
    // clang-format on
    EXPECT_EQ(Bytes(c), want);
    EXPECT_EQ(c.Name(), "Sample1");
}

TEST(ComponentStream, LoadsIntoAnotherInstanceKeepingItsName)
{
    const double doubles[] = {-0.0, std::numeric_limits<double>::quiet_NaN(), 1e-310, 3.5};
    for (double d : doubles) {
        TSample a(nullptr), b(nullptr);
        a.SetName("Opt1");
        b.SetName("Opt2");
        a.Count = 0;
        a.Tolerance = d;
        a.Active = true;
        a.Shape = shSquare;
        a.Caption = std::string("x\0y", 3);
        Load(b, Bytes(a));
        ExpectSame(a, b);
        EXPECT_EQ(b.Name(), "Opt2");
        EXPECT_EQ(b.LoadedCalls, 1);
    }
}

TEST(ComponentStream, ClassMismatchNamesBothAndChangesNothing)
{
    TOther other(nullptr);
    TSample c(nullptr);
    c.Count = 3;
    try {
        Load(c, Bytes(other));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Data format type missmatch: TOther <> TSample");
    }
    EXPECT_EQ(c.Count, 3);
    // Case matters.
    TSample src(nullptr);
    auto b = Bytes(src);
    b[4] = 't';
    EXPECT_THROW(Load(c, b), Exception);
}

TEST(ComponentStream, AssignResetsWhatTheSourceLeftOut)
{
    TSample src(nullptr), loaded(nullptr), assigned(nullptr);
    src.SetName("Src");
    loaded.Count = assigned.Count = 500;
    loaded.Active = assigned.Active = true;
    loaded.Caption = assigned.Caption = "kept";
    src.Caption = "from source";
    Load(loaded, Bytes(src));
    EXPECT_EQ(loaded.Count, 500);  // a plain load keeps what the record does not hold
    EXPECT_TRUE(loaded.Active);
    assigned.SetName("Dst");
    assigned.Assign(src);
    ExpectSame(src, assigned);
    EXPECT_EQ(assigned.Name(), "Dst");
    EXPECT_EQ(src.Name(), "Src");

    TOther other(nullptr);
    try {
        assigned.Assign(other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TOther to a TSample");
    }
}

TEST(ComponentStream, Files)
{
    auto dir = std::filesystem::temp_directory_path() / ("tarnel_comp_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "sample.cmp").string();
    TSample a(nullptr), b(nullptr);
    a.Count = 42;
    a.Caption = "file";
    b.Count = 9;
    b.LoadFromFile((dir / "missing.cmp").string());
    b.LoadFromFile(dir.string());  // a folder is no component file either
    EXPECT_EQ(b.Count, 9);
    EXPECT_EQ(b.LoadedCalls, 0);
    a.SaveToFile(file);
    b.LoadFromFile(file);
    ExpectSame(a, b);
    EXPECT_THROW(a.SaveToFile((dir / "no" / "such.cmp").string()), EFCreateError);
    std::filesystem::remove_all(dir);
}

TEST(ComponentStream, CutOrDamagedRecordsLeaveTheComponentUnchanged)
{
    TSample src(nullptr);
    src.Count = 77;
    src.Tolerance = 2.5;
    src.Active = true;
    src.Shape = shSquare;
    src.Caption = "abc";
    const auto full = Bytes(src);

    TSample target(nullptr), original(nullptr);
    target.Caption = original.Caption = "original";
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(Load(target, {full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)}), Exception);
        ExpectSame(target, original);
    }
    EXPECT_EQ(target.LoadedCalls, 0);

    // A record cut inside a property names it.
    try {
        Load(target, {full.begin(), full.begin() + 55});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TSample.Tolerance: Stream read error");
    }

    // Random damage: the record either loads whole or raises with nothing changed.
    std::mt19937 rng(40);
    for (int run = 0; run < 3000; ++run) {
        auto b = full;
        for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k)
            b[rng() % b.size()] = static_cast<unsigned char>(rng());
        TSample t(nullptr);
        t.Caption = "original";
        try {
            Load(t, b);
        } catch (const Exception&) {
            ExpectSame(t, original);
        }
    }
}

TEST(ComponentStream, RefusedValuesAndUnknownNames)
{
    struct Case {
        const char* what;
        std::size_t at;
        unsigned char value;
        const char* message;
    };
    TSample src(nullptr);
    src.Count = 5;
    const auto full = Bytes(src);
    // Offsets into the record: class name 0..10, version 11..12, then Count: tag 13, name 14..22, kind 23,
    // length 24..27, value 28..31.
    const Case cases[] = {
        {"unknown property", 20, 'X', "TSample.CoXnt: no such property"},
        {"wrong kind", 23, pkDouble, "TSample.Count: wrong kind of value"},
        {"wrong length", 24, 3, "TSample.Count: wrong length of value"},
        {"setter refuses", 31, 0x80, "Count must not be negative"},
        {"version", 11, 2, "TSample: unknown version of the record"},
        {"tag", 13, 9, "TSample: invalid record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = full;
        b[c.at] = c.value;
        TSample t(nullptr);
        t.Caption = "original";
        try {
            Load(t, b);
            ADD_FAILURE();
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(t.Count, 10);
        EXPECT_EQ(t.Caption, "original");
    }
}

TEST(ComponentStream, BusyFlags)
{
    TSample a(nullptr), b(nullptr);
    TMemoryStream m;
    a.BusySaveToStream(m);
    EXPECT_FALSE(a.Busy());
    m.SetPosition(0);
    b.BusyLoadFromStream(m);
    EXPECT_FALSE(b.Busy());
    b.BusyAssign(a);
    EXPECT_FALSE(a.Busy());
    EXPECT_FALSE(b.Busy());
    // A raising operation leaves the flag set.
    TMemoryStream empty;
    EXPECT_THROW(b.BusyLoadFromStream(empty), EReadError);
    EXPECT_TRUE(b.Busy());
    TOther other(nullptr);
    a.SetBusy(false);
    EXPECT_THROW(a.BusyAssign(other), EConvertError);
    EXPECT_TRUE(a.Busy());
    EXPECT_TRUE(other.Busy());
}

TEST(ComponentStream, OwnerFreesWhatItOwns)
{
    int destroyed = 0;
    {
        TSample owner(nullptr);
        auto* first = new TSample(&owner);
        auto* second = new TSample(&owner);
        first->FDestroyed = second->FDestroyed = &destroyed;
        EXPECT_EQ(owner.ComponentCount(), 2);
        delete first;  // leaves the owner's list
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(owner.Components(0), second);
    }
    EXPECT_EQ(destroyed, 2);
}

}  // namespace
}  // namespace tarnel
