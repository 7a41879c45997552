// cRegistry against the in-memory registry: the read rules of every type, the write rules,
// the error texts, and that every key it opens is closed again on every path.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "registry/cRegistry.h"

// Readable failure messages: the kind and the text form.
void PrintTo(const TaggedValue& v, std::ostream* os) {
    static const char* const kinds[] = {"empty", "text", "int16", "int32", "bytes"};
    *os << kinds[static_cast<int>(v.kind())] << " '";
    for (const wchar_t c : TextForm(v))
        if (c >= 0x20 && c < 0x7F)
            *os << static_cast<char>(c);
        else
            *os << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
    *os << "'";
}

struct cRegistryTestAccess {
    static void SetClassesValue(cRegistry& reg, const std::wstring& text) { reg.SetClassesValue(text); }
};

namespace {

using fakes::FakeRegistry;
using Op = FakeRegistry::Op;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kHKCU = os::kHKeyCurrentUser;
const std::wstring kSection = L"Software\\Lumora\\Test";

Bytes Dword(std::int32_t n) {
    Bytes b(4);
    std::memcpy(b.data(), &n, 4);
    return b;
}

class RegistryTest : public ::testing::Test {
protected:
    FakeRegistry fake;
    fakes::FakeSystem system;

    cRegistry At(std::int32_t root, const std::wstring& section, const std::wstring& name = L"Name") {
        cRegistry reg(fake, system);
        reg.SetClassKey(root);
        reg.SetSectionKey(section);
        reg.SetValueKey(name);
        return reg;
    }
    // Reads one stored value through a fresh object whose ValueType starts at 99.
    TaggedValue Read(std::uint32_t type, const Bytes& data, std::int32_t* typeAfter = nullptr) {
        fake.Put(kHKCU, kSection, L"Name", type, data);
        cRegistry reg = At(kHKCU, kSection);
        reg.SetValueType(99);
        const TaggedValue v = reg.Value();
        if (typeAfter) *typeAfter = reg.ValueType();
        return v;
    }
    // Writes through a fresh object with the given ValueType; returns what is stored, if anything.
    const FakeRegistry::StoredValue* Write(std::int32_t valueType, const TaggedValue& v) {
        cRegistry reg = At(kHKCU, kSection);
        reg.SetValueType(valueType);
        reg.SetValue(v);
        EXPECT_EQ(reg.ValueType(), valueType);
        return fake.Find(kHKCU, kSection, L"Name");
    }
    std::vector<std::size_t> ToldToDataQueries() const {
        std::vector<std::size_t> told;
        for (const auto& c : fake.calls)
            if (c.op == Op::QueryData) told.push_back(c.told);
        return told;
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
    try {
        op();
    } catch (const RegistryError& e) {
        return e;
    }
    ADD_FAILURE() << "no RegistryError raised";
    return RegistryError(0, L"", L"");
}

TEST_F(RegistryTest, FreshObjectNamesNoKey) {
    cRegistry reg(fake, system);
    EXPECT_EQ(reg.ClassKey(), 0);
    EXPECT_EQ(reg.SectionKey(), L"");
    EXPECT_EQ(reg.ValueKey(), L"");
    EXPECT_TRUE(reg.Default().IsEmpty());
    EXPECT_EQ(reg.ValueType(), 0);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.Value().IsEmpty());
    EXPECT_EQ(reg.ValueType(), 0);
}

TEST_F(RegistryTest, TextsReadWithoutTheirLastByte) {
    std::int32_t type = 0;
    EXPECT_EQ(Read(os::regtype::kSz, {'a', 'b', 'c', 0}, &type), TaggedValue(L"abc"));
    EXPECT_EQ(type, 1);
    EXPECT_EQ(ToldToDataQueries().back(), 4u);  // the whole data, terminating zero included
    EXPECT_EQ(Read(os::regtype::kSz, {'a', 'b', 'c'}), TaggedValue(L"ab"));
    EXPECT_EQ(Read(os::regtype::kMultiSz, {'a', 0, 'b', 0, 0}, &type), TaggedValue(std::wstring(L"a\0b\0", 4)));
    EXPECT_EQ(type, 7);
    // Text data is in the ANSI code page (the fake's is Latin-1).
    EXPECT_EQ(Read(os::regtype::kSz, {'G', 0xF6, 0xDF, 'e', 0}), TaggedValue(L"G\u00F6\u00DFe"));
    // No bytes at all: nothing to leave out, and no data query with a negative size.
    const auto queries = ToldToDataQueries().size();
    EXPECT_EQ(Read(os::regtype::kSz, {}, &type), TaggedValue(L""));
    EXPECT_EQ(type, 1);
    EXPECT_EQ(Read(os::regtype::kExpandSz, {}), TaggedValue(L""));
    EXPECT_EQ(ToldToDataQueries().size(), queries);
}

TEST_F(RegistryTest, ExpandableTextsAreExpanded) {
    fake.environment[L"LR_DIR"] = L"C:\\Temp";
    std::int32_t type = 0;
    const std::string stored = "%lr_dir%\\x;%NOPE%";
    EXPECT_EQ(Read(os::regtype::kExpandSz, Bytes(stored.begin(), stored.end() + 1), &type),
              TaggedValue(L"C:\\Temp\\x;%NOPE%"));
    EXPECT_EQ(type, 2);
    // The expansion is asked for its size first, then handed exactly that buffer.
    std::vector<std::size_t> told;
    for (const auto& c : fake.calls)
        if (c.op == Op::Expand) told.push_back(c.told);
    EXPECT_EQ(told, (std::vector<std::size_t>{0, 17}));

    // A platform that cannot expand leaves the text as stored.
    fake.failures[Op::Expand] = 1;
    EXPECT_EQ(Read(os::regtype::kExpandSz, {'%', 'L', 'R', '_', 'D', 'I', 'R', '%', 0}), TaggedValue(L"%LR_DIR%"));
    fake.failures.clear();
    fake.failIf = [](const FakeRegistry::Call& c) { return c.op == Op::Expand && c.told > 0 ? 1 : 0; };
    EXPECT_EQ(Read(os::regtype::kExpandSz, {'%', 'L', 'R', '_', 'D', 'I', 'R', '%', 0}), TaggedValue(L"%LR_DIR%"));
    fake.failIf = nullptr;

    // The environment grows between the two questions: asked again, never overrun.
    fake.beforeExpandData = [this] { fake.environment[L"LR_DIR"] = L"D:\\a much longer folder"; };
    fake.environment[L"LR_DIR"] = L"C:";
    EXPECT_EQ(Read(os::regtype::kExpandSz, {'%', 'L', 'R', '_', 'D', 'I', 'R', '%', 0}),
              TaggedValue(L"D:\\a much longer folder"));
}

TEST_F(RegistryTest, IntegersReadThroughFourBytes) {
    std::int32_t type = 0;
    EXPECT_EQ(Read(os::regtype::kDword, Dword(-123456789), &type), TaggedValue(std::int32_t{-123456789}));
    EXPECT_EQ(type, 4);
    EXPECT_EQ(Read(os::regtype::kDwordBigEndian, {0, 0, 1, 2}, &type), TaggedValue(std::int32_t{258}));
    EXPECT_EQ(type, 5);
    EXPECT_EQ(Read(os::regtype::kDwordBigEndian, {0x80, 0, 0, 0x01}), TaggedValue(std::int32_t{-2147483647}));
    EXPECT_EQ(Read(os::regtype::kDwordBigEndian, {0x12, 0x34, 0x56, 0x78}), TaggedValue(std::int32_t{0x12345678}));
    // Short data fills the low bytes of a zeroed integer.
    EXPECT_EQ(Read(os::regtype::kDword, {0x01, 0x02}), TaggedValue(std::int32_t{0x0201}));
    // Longer data never reaches past the 4-byte destination: the platform declines it.
    EXPECT_EQ(Read(os::regtype::kDword, {1, 2, 3, 4, 5, 6, 7, 8}, &type), TaggedValue(std::int32_t{0}));
    EXPECT_EQ(type, 4);
    for (const auto told : ToldToDataQueries()) EXPECT_EQ(told, 4u);
}

TEST_F(RegistryTest, OtherTypesReadAsByteArraysWithOneMoreElement) {
    std::int32_t type = 0;
    const TaggedValue three = Read(os::regtype::kBinary, {7, 8, 9}, &type);
    EXPECT_EQ(type, 3);
    ASSERT_EQ(three.kind(), TaggedValue::Kind::Bytes);
    EXPECT_EQ(three.Bytes().lowerBound, 0);
    EXPECT_EQ(three.Bytes().UpperBound(), 3);
    EXPECT_EQ(three.Bytes().bytes, (Bytes{7, 8, 9, 0}));
    EXPECT_EQ(ToldToDataQueries().back(), 3u);  // the spare element is not the platform's

    EXPECT_EQ(Read(os::regtype::kBinary, {}), TaggedValue(ByteArray{0, {0}}));
    for (const std::uint32_t t : {os::regtype::kNone, os::regtype::kLink, 11u}) {
        EXPECT_EQ(Read(t, {0xAB, 0}, &type), TaggedValue(ByteArray{0, {0xAB, 0, 0}})) << t;
        EXPECT_EQ(type, static_cast<std::int32_t>(t));
    }
}

TEST_F(RegistryTest, ValueThatGrowsBetweenQueriesIsReadAgain) {
    fake.PutText(kHKCU, kSection, L"Name", os::regtype::kSz, std::string("ab\0", 3));
    fake.beforeQueryData = [this] {
        fake.PutText(kHKCU, kSection, L"Name", os::regtype::kSz, std::string("abcdefgh\0", 9));
    };
    EXPECT_EQ(At(kHKCU, kSection).Value(), TaggedValue(L"abcdefgh"));
    EXPECT_EQ(ToldToDataQueries(), (std::vector<std::size_t>{3, 9}));

    fake.calls.clear();
    fake.Put(kHKCU, kSection, L"Bin", os::regtype::kBinary, {1, 2});
    fake.beforeQueryData = [this] { fake.Put(kHKCU, kSection, L"Bin", os::regtype::kBinary, {1, 2, 3, 4, 5}); };
    EXPECT_EQ(At(kHKCU, kSection, L"Bin").Value(), TaggedValue(ByteArray{0, {1, 2, 3, 4, 5, 0}}));
    EXPECT_EQ(ToldToDataQueries(), (std::vector<std::size_t>{2, 5}));
}

TEST_F(RegistryTest, UnreadableValueGivesDefaultAndKeepsValueType) {
    fake.PutText(kHKCU, kSection, L"Other", os::regtype::kSz, std::string("x\0", 2));
    const TaggedValue fallback(std::int16_t{-7});
    struct Case {
        std::int32_t root;
        std::wstring section, name;
    };
    const Case cases[] = {
        {kHKCU, L"Software\\Lumora\\Missing", L"Name"},  // no key
        {kHKCU, kSection, L"Name"},                      // no value
        {0, kSection, L"Other"},                         // no root
        {0x12345678, kSection, L"Other"},                // not a root
    };
    for (const auto& c : cases) {
        cRegistry reg = At(c.root, c.section, c.name);
        reg.SetDefault(fallback);
        reg.SetValueType(4);
        EXPECT_EQ(reg.Value(), fallback);
        EXPECT_EQ(reg.ValueType(), 4);
    }
    // A denied query is a value that cannot be read, too.
    fake.failures[Op::QuerySize] = os::kErrorAccessDenied;
    cRegistry reg = At(kHKCU, kSection, L"Other");
    reg.SetDefault(L"fallback");
    EXPECT_EQ(reg.Value(), TaggedValue(L"fallback"));
    EXPECT_EQ(reg.ValueType(), 0);
    // Reading opens for query access only.
    for (const auto& c : fake.calls)
        if (c.op == Op::Open) {
            EXPECT_EQ(c.access, os::kKeyQueryValue);
        }
}

TEST_F(RegistryTest, TextsAreStoredByThePercentSignTest) {
    struct Case {
        std::wstring text;
        std::int32_t valueType;
        std::uint32_t stored;
    };
    const Case cases[] = {
        {L"50%", 1, 1},    {L"%TEMP%\\x", 1, 2}, {L"%%", 2, 1},     {L"%X%", 1, 2},
        {L"plain", 2, 1},  {L"", 1, 1},          {L"a%%b%", 2, 2},  {L"%%%", 1, 2},
    };
    for (const auto& c : cases) {
        const auto* stored = Write(c.valueType, c.text);
        ASSERT_NE(stored, nullptr) << c.text.c_str();
        EXPECT_EQ(stored->type, c.stored) << "text of " << c.text.size() << " characters";
        Bytes expected(c.text.begin(), c.text.end());
        expected.push_back(0);
        EXPECT_EQ(stored->data, expected);
    }
    // Other values are written as their text form.
    EXPECT_EQ(Write(1, std::int16_t{-5})->data, (Bytes{'-', '5', 0}));
    EXPECT_EQ(Write(1, TaggedValue())->data, (Bytes{0}));
    // The key is created (with the six key rights) when it is missing.
    EXPECT_EQ(fake.calls.front().op, Op::Create);
    EXPECT_EQ(fake.calls.front().access, 0x3Fu);
}

TEST_F(RegistryTest, IntegersAreStoredAsPlainDwords) {
    const auto* stored = Write(4, std::int16_t{5});
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(*stored, (FakeRegistry::StoredValue{os::regtype::kDword, Dword(5)}));
    // Big-endian is asked for, machine order is stored.
    EXPECT_EQ(*Write(5, std::int32_t{258}), (FakeRegistry::StoredValue{os::regtype::kDword, Dword(258)}));
    EXPECT_EQ(*Write(4, std::int32_t{-2}), (FakeRegistry::StoredValue{os::regtype::kDword, Dword(-2)}));

    // Anything else is quietly not written, though the key is created.
    const int sets = fake.Count(Op::Set);
    EXPECT_EQ(Write(4, L"5")->data, Dword(-2));  // the earlier value is untouched
    EXPECT_EQ(Write(5, TaggedValue())->data, Dword(-2));
    EXPECT_EQ(Write(5, ByteArray{0, {1}})->data, Dword(-2));
    EXPECT_EQ(fake.Count(Op::Set), sets);
    cRegistry fresh = At(kHKCU, L"Software\\Lumora\\New");
    fresh.SetValueType(4);
    fresh.SetValue(L"5");
    EXPECT_TRUE(fake.HasKey(kHKCU, L"Software\\Lumora\\New"));
}

TEST_F(RegistryTest, ByteArraysAreStoredWhole) {
    EXPECT_EQ(*Write(3, ByteArray{0, {1, 2, 3}}), (FakeRegistry::StoredValue{os::regtype::kBinary, {1, 2, 3}}));
    // What a read hands out can be written back as it came.
    cRegistry reg = At(kHKCU, kSection);
    const TaggedValue read = reg.Value();
    EXPECT_EQ(read, TaggedValue(ByteArray{0, {1, 2, 3, 0}}));
    EXPECT_EQ(Write(3, read)->data, (Bytes{1, 2, 3, 0}));
    EXPECT_EQ(Write(3, ByteArray{-1, {9, 1, 2}})->data, (Bytes{9, 1, 2}));
    EXPECT_EQ(Write(3, ByteArray{0, {0x42}})->data, (Bytes{0x42}));

    // No element 0: refused, nothing written.
    const int sets = fake.Count(Op::Set);
    for (const ByteArray& a : {ByteArray{1, {1, 2}}, ByteArray{0, {}}, ByteArray{-3, {1, 2}}}) {
        const RegistryError e = Raised([&] { Write(3, a); });
        EXPECT_EQ(e.Number(), 9);
        EXPECT_EQ(e.Source(), L"LumoraRepair.cRegistry");
    }
    // Not an array at all: the number only.
    for (const TaggedValue& v : {TaggedValue(L"01"), TaggedValue(std::int32_t{1}), TaggedValue()}) {
        const RegistryError e = Raised([&] { Write(3, v); });
        EXPECT_EQ(e.Number(), 26001);
        EXPECT_EQ(e.Source(), L"");
        EXPECT_EQ(e.Description(), L"");
    }
    EXPECT_EQ(fake.Count(Op::Set), sets);
}

TEST_F(RegistryTest, UnsupportedTypesFailAfterCreatingTheKey) {
    for (const std::int32_t type : {0, 6, 7, 8, 11, -1}) {
        const std::wstring section = L"Software\\Lumora\\T" + std::to_wstring(type);
        cRegistry reg = At(kHKCU, section, L"V");
        reg.SetValueType(type);
        const RegistryError e = Raised([&] { reg.SetValue(L"x"); });
        EXPECT_EQ(e.Number(), -2147194455);
        EXPECT_EQ(e.Source(), L"LumoraRepair.cRegistry");
        EXPECT_EQ(e.Description(),
                  L"Failed to set registry value Key: '-2147483647',Section: '" + section + L"',Key: 'V' to value: 'x'");
        EXPECT_TRUE(fake.HasKey(kHKCU, section));
        EXPECT_EQ(fake.ValueCount(kHKCU, section), 0u);
    }
}

TEST_F(RegistryTest, KeysAreCreatedCheckedAndDeleted) {
    cRegistry reg = At(kHKCU, kSection, L"Name");
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.CreateKey());  // exists already
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_TRUE(fake.openHandles.empty());  // nothing is kept open between calls
    reg.SetValueType(1);
    reg.SetValue(L"v");
    reg.SetValueKey(L"Keep");
    reg.SetValue(L"k");
    reg.SetValueKey(L"Name");
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_EQ(fake.Find(kHKCU, kSection, L"Name"), nullptr);
    ASSERT_NE(fake.Find(kHKCU, kSection, L"Keep"), nullptr);
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(fake.HasKey(kHKCU, L"Software\\Lumora"));

    std::vector<std::uint32_t> access;
    for (const auto& c : fake.calls)
        if (c.op == Op::Open || c.op == Op::Create) access.push_back(c.access);
    // KeyExists, Create, Create, KeyExists, write, write, DeleteValue, KeyExists.
    EXPECT_EQ(access, (std::vector<std::uint32_t>{1, 0x3F, 0x3F, 1, 0x3F, 0x3F, 0x3F, 1}));
}

TEST_F(RegistryTest, EveryErrorTextByteForByte) {
    const std::wstring src = L"LumoraRepair.cRegistry";
    auto expectError = [&](const RegistryError& e, std::int32_t number, const std::wstring& text) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_EQ(e.Source(), src);
        EXPECT_EQ(e.Description(), text);
    };
    cRegistry lm = At(os::kHKeyLocalMachine, L"SOFTWARE\\Gone", L"Val");
    fake.failures[Op::Create] = os::kErrorAccessDenied;
    expectError(Raised([&] { lm.CreateKey(); }), 26001, L"Failed to create registry Key: 'SOFTWARE\\Gone");
    lm.SetValueType(3);
    expectError(Raised([&] { lm.SetValue(ByteArray{0, {0x01, 0x0A, 0xFF}}); }), 26001,
                L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Gone',Key: 'Val' to value: "
                L"'01 0A FF'");
    fake.failures.clear();
    expectError(Raised([&] { lm.DeleteKey(); }), 26001,
                L"Failed to delete registry Key: '-2147483646',Section: 'SOFTWARE\\Gone");

    cRegistry cr = At(os::kHKeyClassesRoot, L".lma", L"Content Type");
    expectError(Raised([&] { cr.DeleteValue(); }), 26001,
                L"Failed to open key '-2147483648',Section: '.lma' for delete access");
    fake.AddKey(os::kHKeyClassesRoot, L".lma");
    expectError(Raised([&] { cr.DeleteValue(); }), 26001,
                L"Failed to delete registry Key: '-2147483648',Section: '.lma',Key: 'Content Type");

    fake.failures[Op::Set] = os::kErrorAccessDenied;
    cr.SetValueType(4);
    expectError(Raised([&] { cr.SetValue(std::int32_t{-2147483647 - 1}); }), -2147194455,
                L"Failed to set registry value Key: '-2147483648',Section: '.lma',Key: 'Content Type' to value: "
                L"'-2147483648'");
    fake.failures.clear();

    // A key with subkeys cannot be deleted; the object's fields are kept when it raises.
    fake.AddKey(kHKCU, L"Software\\Parent\\Child");
    cRegistry parent = At(kHKCU, L"Software\\Parent");
    expectError(Raised([&] { parent.DeleteKey(); }), 26001,
                L"Failed to delete registry Key: '-2147483647',Section: 'Software\\Parent");
    EXPECT_EQ(parent.ClassKey(), kHKCU);
    EXPECT_EQ(parent.SectionKey(), L"Software\\Parent");

    // The source is the executable's name without folder and extension.
    const std::pair<std::wstring, std::wstring> names[] = {
        {L"C:\\Program Files\\My.App\\Tool.v2.exe", L"Tool.v2.cRegistry"},
        {L"D:/bin/platform_tests.EXE", L"platform_tests.cRegistry"},
        {L"C:LumoraRepair", L"LumoraRepair.cRegistry"},
    };
    for (const auto& [module, source] : names) {
        system.moduleFileName = module;
        EXPECT_EQ(Raised([&] { lm.DeleteKey(); }).Source(), source);
    }
}

TEST_F(RegistryTest, ClassesValueGoesToBothPlaces) {
    cRegistry reg = At(kHKCU, L".lma", L"");
    reg.SetValueType(1);
    cRegistryTestAccess::SetClassesValue(reg, L"Lumora.Document");
    const FakeRegistry::StoredValue expected{os::regtype::kSz, {'L', 'u', 'm', 'o', 'r', 'a', '.', 'D', 'o', 'c',
                                                                'u', 'm', 'e', 'n', 't', 0}};
    ASSERT_NE(fake.Find(os::kHKeyClassesRoot, L".lma", L""), nullptr);
    EXPECT_EQ(*fake.Find(os::kHKeyClassesRoot, L".lma", L""), expected);
    ASSERT_NE(fake.Find(os::kHKeyLocalMachine, L"SOFTWARE\\Classes\\.lma", L""), nullptr);
    EXPECT_EQ(*fake.Find(os::kHKeyLocalMachine, L"SOFTWARE\\Classes\\.lma", L""), expected);
    EXPECT_EQ(reg.ClassKey(), os::kHKeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), L".lma");

    // When the second write fails, the error names it and the fields are as they were.
    fake.failIf = [](const FakeRegistry::Call& c) {
        return c.op == Op::Create && c.root == os::kHKeyLocalMachine ? os::kErrorAccessDenied : 0;
    };
    cRegistry other = At(kHKCU, L".lmx", L"");
    other.SetValueType(1);
    const RegistryError e = Raised([&] { cRegistryTestAccess::SetClassesValue(other, L"X"); });
    EXPECT_EQ(e.Description(),
              L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Classes\\.lmx',Key: '' to value: 'X'");
    EXPECT_EQ(other.ClassKey(), kHKCU);
    EXPECT_EQ(other.SectionKey(), L".lmx");
}

TEST(TaggedValueTest, TextFormAndEquality) {
    EXPECT_EQ(TextForm(TaggedValue()), L"");
    EXPECT_EQ(TextForm(L"a\u00E9b"), L"a\u00E9b");
    EXPECT_EQ(TextForm(std::int16_t{-32768}), L"-32768");
    EXPECT_EQ(TextForm(std::int32_t{-2147483647 - 1}), L"-2147483648");
    EXPECT_EQ(TextForm(std::int32_t{2147483647}), L"2147483647");
    EXPECT_EQ(TextForm(ByteArray{5, {0x00, 0x0A, 0xFF, 0x7C}}), L"00 0A FF 7C");
    EXPECT_EQ(TextForm(ByteArray{0, {}}), L"");
    // The kind is part of the value.
    EXPECT_NE(TaggedValue(std::int16_t{5}), TaggedValue(std::int32_t{5}));
    EXPECT_NE(TaggedValue(L""), TaggedValue());
    EXPECT_NE(TaggedValue(ByteArray{0, {1}}), TaggedValue(ByteArray{1, {1}}));
    EXPECT_EQ(ByteArray({-2, {1, 2}}).UpperBound(), -1);
    EXPECT_FALSE(ByteArray({-2, {1, 2}}).HasIndex(0));
}

}  // namespace
