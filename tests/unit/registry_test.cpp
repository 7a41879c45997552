// cRegistry against the in-memory registry: the read rules of every type, the write rules,
// the error texts, and that every key it opens is closed again on every path.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "registry/cRegistry.h"

// Readable failure messages: the kind and the text form.
void PrintTo(const TaggedValue& v, std::ostream* os) {
    static const char* const kinds[] = {"empty", "text", "int16", "int32", "bytes"};
    *os << kinds[static_cast<int>(v.kind())] << " " << testing::PrintToString(TextForm(v));
}

struct cRegistryTestAccess {
    static void SetClassesValue(cRegistry& reg, const std::wstring& text) { reg.SetClassesValue(text); }
};

namespace {

using fakes::FakeRegistry;
using Op = FakeRegistry::Op;
using Stored = FakeRegistry::StoredValue;
using Bytes = std::vector<std::uint8_t>;
using Sizes = std::vector<std::size_t>;
namespace regtype = os::regtype;

constexpr std::int32_t kHKCU = os::kHKeyCurrentUser;
constexpr std::int32_t kWriteFailed = -2147194455;
const std::wstring kSection = L"Software\\Lumora\\Test";
const std::wstring kSource = L"LumoraRepair.cRegistry";

Bytes Dword(std::int32_t n) {
    Bytes b(4);
    std::memcpy(b.data(), &n, 4);
    return b;
}

// A text's bytes and its terminating zero.
Bytes Z(std::string_view s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

class RegistryTest : public ::testing::Test {
protected:
    FakeRegistry fake;
    fakes::FakeSystem system;

    cRegistry At(std::int32_t root, const std::wstring& section, const std::wstring& name = L"Name",
                 std::int32_t valueType = 0) {
        cRegistry reg(fake, system);
        reg.SetClassKey(root);
        reg.SetSectionKey(section);
        reg.SetValueKey(name);
        reg.SetValueType(valueType);
        return reg;
    }
    // Reads one stored value through an object whose ValueType starts at 99 and must end at
    // the stored type.
    TaggedValue Read(std::uint32_t type, const Bytes& data) {
        fake.Put(kHKCU, kSection, L"Name", type, data);
        cRegistry reg = At(kHKCU, kSection, L"Name", 99);
        const TaggedValue v = reg.Value();
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(type));
        return v;
    }
    void TearDown() override {
        EXPECT_TRUE(fake.openHandles.empty()) << "a key was left open";
        EXPECT_EQ(fake.badCloses, 0);
        EXPECT_EQ(fake.opened, fake.closed);
    }
};

// Runs 'op', which must raise; returns the error.
template <typename F>
RegistryError Raised(F op) {
    try { op(); } catch (const RegistryError& e) { return e; }
    ADD_FAILURE() << "no RegistryError raised";
    return RegistryError(0, L"", L"");
}

TEST_F(RegistryTest, FreshObjectNamesNoKey) {
    cRegistry reg(fake, system);
    EXPECT_EQ(std::tuple(reg.ClassKey(), reg.SectionKey(), reg.ValueKey(), reg.ValueType()),
              std::tuple(0, L"", L"", 0));
    EXPECT_TRUE(reg.Default().IsEmpty());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.Value().IsEmpty());
    EXPECT_EQ(reg.ValueType(), 0);
}

// Texts lose their last byte (normally the zero), integers come through a 4-byte destination,
// every other type is a byte array with one zero element more than its data. Each data query
// is told exactly the stored size, or 4 for an integer; a value that grows between the size
// query and the data query is read again with the new size.
TEST_F(RegistryTest, EveryStoredTypeReadsByItsRules) {
    // told: the sizes handed to the data queries; grown: what the value becomes just before them.
    struct Case { const char* what; std::uint32_t type; Bytes data; TaggedValue expected; Sizes told;
                  Bytes grown = {}; };
    const Case cases[] = {
        {"sz with its zero", regtype::kSz, Z("abc"), L"abc", {4}},
        {"sz without its zero", regtype::kSz, {'a', 'b', 'c'}, L"ab", {3}},
        {"multi sz", regtype::kMultiSz, {'a', 0, 'b', 0, 0}, std::wstring(L"a\0b\0", 4), {5}},
        {"sz in the code page (Latin-1 here)", regtype::kSz, Z("G\xF6\xDF" "e"), L"G\u00F6\u00DFe", {5}},
        // No bytes at all: nothing to leave out, and no data query with a negative size.
        {"empty sz", regtype::kSz, {}, L"", {}}, {"empty expand sz", regtype::kExpandSz, {}, L"", {}},
        {"dword", regtype::kDword, Dword(-123456789), std::int32_t{-123456789}, {4}},
        {"big-endian 258", regtype::kDwordBigEndian, {0, 0, 1, 2}, std::int32_t{258}, {4}},
        {"big-endian, top bit", regtype::kDwordBigEndian, {0x80, 0, 0, 1}, std::int32_t{-2147483647}, {4}},
        {"big-endian, all bytes", regtype::kDwordBigEndian, {0x12, 0x34, 0x56, 0x78}, std::int32_t{0x12345678}, {4}},
        // Short data fills the low bytes of a zeroed integer; the platform declines longer data
        // rather than writing past the destination.
        {"short dword", regtype::kDword, {1, 2}, std::int32_t{0x0201}, {4}},
        {"long dword", regtype::kDword, {1, 2, 3, 4, 5, 6, 7, 8}, std::int32_t{0}, {4}},
        // The spare element is not the platform's to write.
        {"binary", regtype::kBinary, {7, 8, 9}, ByteArray{0, {7, 8, 9, 0}}, {3}},
        {"empty binary", regtype::kBinary, {}, ByteArray{0, {0}}, {0}},
        {"none", regtype::kNone, {0xAB, 0}, ByteArray{0, {0xAB, 0, 0}}, {2}},
        {"link", regtype::kLink, {0xAB, 0}, ByteArray{0, {0xAB, 0, 0}}, {2}},
        {"type 11", 11, {0xAB, 0}, ByteArray{0, {0xAB, 0, 0}}, {2}},
        {"sz grown", regtype::kSz, Z("ab"), L"abcdefgh", {3, 9}, Z("abcdefgh")},
        {"binary grown", regtype::kBinary, {1, 2}, ByteArray{0, {1, 2, 3, 4, 5, 0}}, {2, 5}, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake.calls.clear();
        if (!c.grown.empty()) fake.beforeQueryData = [&] { fake.Put(kHKCU, kSection, L"Name", c.type, c.grown); };
        EXPECT_EQ(Read(c.type, c.data), c.expected);
        EXPECT_EQ(fake.Told(Op::QueryData), c.told);
    }
}

TEST_F(RegistryTest, ExpandableTextsAreExpandedOrLeftAsStored) {
    fake.environment[L"LR_DIR"] = L"C:\\Temp";
    EXPECT_EQ(Read(regtype::kExpandSz, Z("%lr_dir%\\x;%NOPE%")), TaggedValue(L"C:\\Temp\\x;%NOPE%"));
    EXPECT_EQ(fake.Told(Op::Expand), (Sizes{0, 17}));  // the size first, then exactly that buffer

    // A platform that cannot expand, at the first question or at the second, leaves the text.
    for (const bool onlyTheSecond : {false, true}) {
        fake.failIf = [=](const auto& c) { return c.op == Op::Expand && (c.told > 0 || !onlyTheSecond); };
        EXPECT_EQ(Read(regtype::kExpandSz, Z("%LR_DIR%")), TaggedValue(L"%LR_DIR%")) << onlyTheSecond;
    }
    fake.failIf = nullptr;

    // The environment grows between the two questions: asked again, never overrun.
    fake.environment[L"LR_DIR"] = L"C:";
    fake.beforeExpandData = [this] { fake.environment[L"LR_DIR"] = L"D:\\a much longer folder"; };
    EXPECT_EQ(Read(regtype::kExpandSz, Z("%LR_DIR%")), TaggedValue(L"D:\\a much longer folder"));
}

TEST_F(RegistryTest, UnreadableValueGivesDefaultAndKeepsValueType) {
    fake.Put(kHKCU, kSection, L"Other", regtype::kSz, Z("x"));
    struct Case { const char* what; std::int32_t root; std::wstring section, name; bool queryDenied = false; };
    const Case cases[] = {
        {"no key", kHKCU, L"Software\\Lumora\\Missing", L"Name"}, {"no value", kHKCU, kSection, L"Name"},
        {"no root", 0, kSection, L"Other"}, {"not a root", 0x12345678, kSection, L"Other"},
        {"query denied", kHKCU, kSection, L"Other", true},
    };
    const TaggedValue fallback(std::int16_t{-7});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.queryDenied) fake.failures[Op::QuerySize] = os::kErrorAccessDenied;
        cRegistry reg = At(c.root, c.section, c.name, 4);
        reg.SetDefault(fallback);
        EXPECT_EQ(reg.Value(), fallback);
        EXPECT_EQ(reg.ValueType(), 4);
    }
    for (const auto& c : fake.calls)  // reading opens for query access only
        if (c.op == Op::Open) { EXPECT_EQ(c.access, os::kKeyQueryValue); }
}

// Each write goes to a key it has to create first and leaves ValueType as it is. Texts by the
// percent-sign test, integers as plain REG_DWORDs in machine order (also when big-endian is
// asked for), byte arrays whole; anything but an integer for 4 or 5 is quietly not written.
// Refused writes store nothing; an error without a description carries no source either.
TEST_F(RegistryTest, WritesStoreByValueTypeOrRaise) {
    const auto sz = [](std::string_view s) { return Stored{regtype::kSz, Z(s)}; };
    const auto expandSz = [](std::string_view s) { return Stored{regtype::kExpandSz, Z(s)}; };
    const auto dword = [](std::int32_t n) { return Stored{regtype::kDword, Dword(n)}; };
    const auto binary = [](Bytes b) { return Stored{regtype::kBinary, std::move(b)}; };
    const std::wstring failed =
        L"Failed to set registry value Key: '-2147483647',Section: 'Software\\Lumora\\Test',Key: 'Name' to value: 'x'";
    const std::wstring noElement0 = L"Subscript out of range";
    struct Case { std::int32_t valueType; TaggedValue value; std::optional<Stored> stored; std::int32_t error = 0;
                  std::wstring description = {}; };
    const Case cases[] = {
        {1, L"50%", sz("50%")}, {1, L"%TEMP%\\x", expandSz("%TEMP%\\x")}, {2, L"%%", sz("%%")},
        {1, L"%X%", expandSz("%X%")}, {2, L"plain", sz("plain")}, {1, L"", sz("")},
        {2, L"a%%b%", expandSz("a%%b%")}, {1, L"%%%", expandSz("%%%")},
        {1, std::int16_t{-5}, sz("-5")}, {1, TaggedValue(), sz("")},  // other values as their text form
        {4, std::int16_t{5}, dword(5)}, {5, std::int32_t{258}, dword(258)}, {4, std::int32_t{-2}, dword(-2)},
        {4, L"5", {}}, {5, TaggedValue(), {}}, {5, ByteArray{0, {1}}, {}},
        {3, ByteArray{0, {1, 2, 3}}, binary({1, 2, 3})}, {3, ByteArray{-1, {9, 1, 2}}, binary({9, 1, 2})},
        {3, ByteArray{0, {0x42}}, binary({0x42})},
        {0, L"x", {}, kWriteFailed, failed}, {6, L"x", {}, kWriteFailed, failed},
        {7, L"x", {}, kWriteFailed, failed}, {8, L"x", {}, kWriteFailed, failed},
        {11, L"x", {}, kWriteFailed, failed}, {-1, L"x", {}, kWriteFailed, failed},
        {3, ByteArray{1, {1, 2}}, {}, 9, noElement0}, {3, ByteArray{0, {}}, {}, 9, noElement0},
        {3, ByteArray{-3, {1, 2}}, {}, 9, noElement0},
        {3, L"01", {}, 26001}, {3, std::int32_t{1}, {}, 26001}, {3, TaggedValue(), {}, 26001},  // not an array
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ValueType " << c.valueType << ", " << testing::PrintToString(c.value));
        fake.DeleteKey(kHKCU, kSection);
        const int sets = fake.Count(Op::Set);
        cRegistry reg = At(kHKCU, kSection, L"Name", c.valueType);
        try {
            reg.SetValue(c.value);
            EXPECT_EQ(c.error, 0) << "nothing raised";
        } catch (const RegistryError& e) {
            EXPECT_EQ(std::tuple(e.Number(), e.Source(), e.Description()),
                      std::tuple(c.error, c.description.empty() ? L"" : kSource, c.description));
        }
        EXPECT_EQ(reg.ValueType(), c.valueType);
        EXPECT_TRUE(fake.HasKey(kHKCU, kSection));
        EXPECT_EQ(fake.Find(kHKCU, kSection, L"Name"), c.stored);
        EXPECT_EQ(fake.ValueCount(kHKCU, kSection), c.stored ? 1u : 0u);
        EXPECT_EQ(fake.Count(Op::Set) - sets, c.stored ? 1 : 0);
    }

    // What a read hands out can be written back as it came.
    const TaggedValue read = Read(regtype::kBinary, {1, 2, 3});
    EXPECT_EQ(read, TaggedValue(ByteArray{0, {1, 2, 3, 0}}));
    At(kHKCU, kSection, L"Name", 3).SetValue(read);
    EXPECT_EQ(fake.Find(kHKCU, kSection, L"Name"), binary({1, 2, 3, 0}));
}

TEST_F(RegistryTest, KeysAreCreatedCheckedAndDeleted) {
    cRegistry reg = At(kHKCU, kSection, L"Name", 1);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.CreateKey());  // exists already
    EXPECT_TRUE(reg.KeyExists());
    reg.SetValue(L"v");
    fake.Put(kHKCU, kSection, L"Keep", regtype::kSz, Z("k"));
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_EQ(fake.Find(kHKCU, kSection, L"Name"), std::nullopt);
    EXPECT_NE(fake.Find(kHKCU, kSection, L"Keep"), std::nullopt);
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(fake.HasKey(kHKCU, L"Software\\Lumora"));

    std::vector<std::uint32_t> access;
    for (const auto& c : fake.calls)
        if (c.op == Op::Open || c.op == Op::Create) access.push_back(c.access);
    // KeyExists, Create, Create, KeyExists, write, DeleteValue, KeyExists.
    EXPECT_EQ(access, (std::vector<std::uint32_t>{1, 0x3F, 0x3F, 1, 0x3F, 0x3F, 1}));
}

// Each failure as the platform makes it happen, in this order, its text byte for byte; the
// object that raised keeps its fields.
TEST_F(RegistryTest, EveryErrorTextByteForByte) {
    const auto expectError = [&](cRegistry& reg, auto op, std::int32_t number, const std::wstring& text) {
        const auto fields = std::tuple(reg.ClassKey(), reg.SectionKey(), reg.ValueKey(), reg.ValueType());
        const RegistryError e = Raised(op);
        fake.failures.clear();
        fake.failIf = nullptr;
        EXPECT_EQ(std::tuple(e.Number(), e.Source(), e.Description()), std::tuple(number, kSource, text));
        EXPECT_EQ(std::tuple(reg.ClassKey(), reg.SectionKey(), reg.ValueKey(), reg.ValueType()), fields);
    };
    cRegistry lm = At(os::kHKeyLocalMachine, L"SOFTWARE\\Gone", L"Val", 3);
    fake.failures[Op::Create] = os::kErrorAccessDenied;
    expectError(lm, [&] { lm.CreateKey(); }, 26001, L"Failed to create registry Key: 'SOFTWARE\\Gone");
    fake.failures[Op::Create] = os::kErrorAccessDenied;
    expectError(lm, [&] { lm.SetValue(ByteArray{0, {0x01, 0x0A, 0xFF}}); }, 26001,
                L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Gone',Key: 'Val' to value: "
                L"'01 0A FF'");
    expectError(lm, [&] { lm.DeleteKey(); }, 26001,
                L"Failed to delete registry Key: '-2147483646',Section: 'SOFTWARE\\Gone");

    cRegistry cr = At(os::kHKeyClassesRoot, L".lma", L"Content Type", 4);
    expectError(cr, [&] { cr.DeleteValue(); }, 26001,
                L"Failed to open key '-2147483648',Section: '.lma' for delete access");
    fake.AddKey(os::kHKeyClassesRoot, L".lma");
    expectError(cr, [&] { cr.DeleteValue(); }, 26001,
                L"Failed to delete registry Key: '-2147483648',Section: '.lma',Key: 'Content Type");
    fake.failures[Op::Set] = os::kErrorAccessDenied;
    expectError(cr, [&] { cr.SetValue(std::int32_t{-2147483647 - 1}); }, kWriteFailed,
                L"Failed to set registry value Key: '-2147483648',Section: '.lma',Key: 'Content Type' to value: "
                L"'-2147483648'");

    fake.AddKey(kHKCU, L"Software\\Parent\\Child");  // a key with subkeys cannot be deleted
    cRegistry parent = At(kHKCU, L"Software\\Parent");
    expectError(parent, [&] { parent.DeleteKey(); }, 26001,
                L"Failed to delete registry Key: '-2147483647',Section: 'Software\\Parent");

    // The second of the two classes writes fails.
    fake.failIf = [](const auto& c) { return c.op == Op::Create && c.root == os::kHKeyLocalMachine; };
    cRegistry classes = At(kHKCU, L".lmx", L"", 1);
    expectError(classes, [&] { cRegistryTestAccess::SetClassesValue(classes, L"X"); }, 26001,
                L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Classes\\.lmx',Key: '' "
                L"to value: 'X'");

    // The source is the executable's name without folder and extension.
    for (const auto& [module, source] : {std::pair{L"C:\\Program Files\\My.App\\Tool.v2.exe", L"Tool.v2.cRegistry"},
                                         std::pair{L"D:/bin/platform_tests.EXE", L"platform_tests.cRegistry"},
                                         std::pair{L"C:LumoraRepair", L"LumoraRepair.cRegistry"}}) {
        system.moduleFileName = module;
        EXPECT_EQ(Raised([&] { lm.DeleteKey(); }).Source(), source);
    }
}

TEST_F(RegistryTest, ClassesValueGoesToBothPlaces) {
    cRegistry reg = At(kHKCU, L".lma", L"", 1);
    cRegistryTestAccess::SetClassesValue(reg, L"Lumora.Document");
    const Stored expected{regtype::kSz, Z("Lumora.Document")};
    EXPECT_EQ(fake.Find(os::kHKeyClassesRoot, L".lma", L""), expected);
    EXPECT_EQ(fake.Find(os::kHKeyLocalMachine, L"SOFTWARE\\Classes\\.lma", L""), expected);
    EXPECT_EQ(reg.ClassKey(), os::kHKeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), L".lma");
}

TEST(TaggedValueTest, TextFormBoundsAndEquality) {
    const std::pair<TaggedValue, std::wstring> forms[] = {
        {TaggedValue(), L""}, {L"a\u00E9b", L"a\u00E9b"}, {std::int16_t{-32768}, L"-32768"},
        {std::int32_t{-2147483647 - 1}, L"-2147483648"}, {std::int32_t{2147483647}, L"2147483647"},
        {ByteArray{5, {0x00, 0x0A, 0xFF, 0x7C}}, L"00 0A FF 7C"}, {ByteArray{0, {}}, L""}};
    for (const auto& [value, text] : forms) EXPECT_EQ(TextForm(value), text);
    // The kind is part of the value.
    EXPECT_NE(TaggedValue(std::int16_t{5}), TaggedValue(std::int32_t{5}));
    EXPECT_NE(TaggedValue(L""), TaggedValue());
    EXPECT_NE(TaggedValue(ByteArray{0, {1}}), TaggedValue(ByteArray{1, {1}}));
    // Bounds as a read hands them out: 0 to 3 for three bytes of data, 0 to 0 for none.
    EXPECT_EQ(ByteArray({0, {7, 8, 9, 0}}).UpperBound(), 3);
    EXPECT_EQ(ByteArray({0, {0}}).UpperBound(), 0);
    EXPECT_EQ(ByteArray({-2, {1, 2}}).UpperBound(), -1);
    EXPECT_FALSE(ByteArray({-2, {1, 2}}).HasIndex(0));
}

}  // namespace
