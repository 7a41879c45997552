// cRegistry against the in-memory registry: how each stored type reads, how each value
// type writes, the error texts, and that every key it opens is closed again.
#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "registry/cRegistry.h"

struct cRegistryTestAccess {
    static void SetClassesValue(cRegistry& reg, const std::wstring& text) { reg.SetClassesValue(text); }
};

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace regtype = os::regtype;
constexpr std::int32_t kHKCU = os::kHKeyCurrentUser;
const std::wstring kSection = L"Software\\Lumora\\Test";
const TaggedValue kDefault = std::int16_t{-7};  // a kind no read makes

Bytes Z(std::string_view s) { return Bytes(s.data(), s.data() + s.size() + 1); }  // with its terminating zero

class RegistryTest : public ::testing::Test {
protected:
    fakes::FakeRegistry fake;
    fakes::FakeSystem system;
    cRegistry At(const std::wstring& section, std::int32_t valueType) {
        cRegistry reg(fake, system);
        reg.SetClassKey(kHKCU);
        reg.SetSectionKey(section);
        reg.SetValueKey(L"Name");
        reg.SetValueType(valueType);
        reg.SetDefault(kDefault);
        return reg;
    }
    void TearDown() override { EXPECT_TRUE(fake.open.empty()) << "a key was left open"; }
};

// Texts lose a terminating zero (only a zero), integers come through up to four bytes
// (big-endian swapped), every other type is a byte array of exactly its data. A value that
// changes between the size query and the data query is read again; one that keeps changing
// (slack -1) reads as Default and leaves the type as set.
TEST_F(RegistryTest, EveryStoredTypeReadsByItsRules) {
    fake.environment[L"LR_DIR"] = L"C:\\Temp";
    const std::string huge = "%LR_DIR%" + std::string(32760, 'x');  // beyond what the platform expands
    // changed: stored between the two queries, with the type to (0: the same).
    struct Case { std::uint32_t type; Bytes data; TaggedValue expected;
                  Bytes changed = {}; std::uint32_t to = 0; int slack = 0; };
    const Case cases[] = {
        {regtype::kSz, Z("G\xF6\xDF" "e"), L"G\u00F6\u00DFe"}, {regtype::kSz, {'a', 'b', 'c'}, L"abc"},
        {regtype::kMultiSz, {'a', 0, 'b', 0, 0}, std::wstring(L"a\0b\0", 4)}, {regtype::kSz, {}, L""},
        {regtype::kDword, {1, 2}, 0x201}, {regtype::kDword, Bytes(8, 1), 0},
        {regtype::kDwordBigEndian, {0x12, 0x34, 0x56, 0x78}, std::int32_t{0x12345678}},
        {11, {7, 0}, ByteArray{0, {7, 0}}}, {regtype::kBinary, {}, ByteArray{}},
        {regtype::kSz, Z("ab"), L"abcdefgh", Z("abcdefgh")}, {regtype::kSz, Z("abcdefgh"), L"ab", Z("ab")},
        {regtype::kSz, Z("abcd"), ByteArray{0, {1, 2}}, {1, 2}, regtype::kBinary},
        {regtype::kBinary, {1, 2}, ByteArray{0, {1, 2}}, {}, 0, 5}, {regtype::kBinary, {1, 2}, kDefault, {}, 0, -1},
        {regtype::kExpandSz, Z("%LR_DIR%\\x"), L"C:\\Temp\\x"},
        {regtype::kExpandSz, Z(huge), std::wstring(huge.begin(), huge.end())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(TextForm(c.expected)));
        fake.Put(kHKCU, kSection, L"Name", c.type, c.data);
        fake.sizeSlack = c.slack;
        const std::uint32_t to = c.to ? c.to : c.type;
        if (!c.changed.empty()) fake.beforeQueryData = [&] { fake.Put(kHKCU, kSection, L"Name", to, c.changed); };
        cRegistry reg = At(kSection, 99);
        EXPECT_EQ(reg.Value(), c.expected);
        EXPECT_EQ(reg.ValueType(), c.expected == kDefault ? 99 : static_cast<std::int32_t>(to));
    }
}

// Texts by the percent-sign test, integers as plain REG_DWORDs (also for big-endian), byte
// arrays whole; a class value below both places.
TEST_F(RegistryTest, WritesStoreByValueType) {
    struct Case { std::int32_t valueType; TaggedValue value; fakes::FakeRegistry::StoredValue stored; };
    const Case cases[] = {
        {1, L"50%", {regtype::kSz, Z("50%")}}, {2, L"%%", {regtype::kSz, Z("%%")}},
        {1, L"%X%", {regtype::kExpandSz, Z("%X%")}}, {1, std::int16_t{-5}, {regtype::kSz, Z("-5")}},
        {5, std::int32_t{258}, {regtype::kDword, {2, 1, 0, 0}}}, {3, ByteArray{}, {regtype::kBinary, {}}},
        {3, ByteArray{-1, {9, 1, 2}}, {regtype::kBinary, {9, 1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.valueType << " " << testing::PrintToString(TextForm(c.value)));
        At(kSection, c.valueType).SetValue(c.value);
        EXPECT_EQ(fake.Find(kHKCU, kSection, L"Name"), c.stored);
    }
    cRegistry reg = At(L".lma", 1);
    cRegistryTestAccess::SetClassesValue(reg, L"Lumora.Document");
    EXPECT_EQ(fake.Find(os::kHKeyClassesRoot, L".lma", L"Name")->data, Z("Lumora.Document"));
    EXPECT_EQ(fake.Find(os::kHKeyLocalMachine, L"SOFTWARE\\Classes\\.lma", L"Name")->data, Z("Lumora.Document"));
}

// The errors' source: the exe's name without folder and extension.
TEST_F(RegistryTest, KeysAndTheErrorTexts) {
    system.moduleFileName = L"D:/bin/My.App.v2.EXE";
    cRegistry reg = At(kSection, 1);
    EXPECT_EQ(reg.Value(), kDefault);  // without the key
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_EQ(fake.accessAsked, (std::vector<std::uint32_t>{1, 1, 0x3F, 1}));
    EXPECT_TRUE(reg.DeleteKey());

    const std::wstring at = L"'-2147483647',Section: 'Software\\Lumora\\Test";
    const std::wstring setFailed = L"Failed to set registry value Key: " + at + L"',Key: 'Name' to value: '";
    const std::pair<std::function<void()>, std::wstring> errors[] = {
        {[&] { reg.DeleteValue(); }, L"Failed to open key " + at + L"' for delete access"},
        {[&] { reg.DeleteKey(); }, L"Failed to delete registry Key: " + at},
        // Nothing stored is never a success: no other type, nor a text as a number.
        {[&] { At(kSection, 7).SetValue(L"x"); }, setFailed + L"x'"},
        {[&] { At(kSection, 4).SetValue(L"5"); }, setFailed + L"5'"},
    };
    for (const auto& [op, text] : errors) {
        try {
            op();
            ADD_FAILURE() << "no error: " << testing::PrintToString(text);
        } catch (const RegistryError& e) {
            EXPECT_EQ(e.Description(), text);
            EXPECT_EQ(e.Source(), L"My.App.v2.cRegistry");
        }
    }
    EXPECT_TRUE(reg.KeyExists());  // made by the failed writes, and left empty
    EXPECT_FALSE(fake.Find(kHKCU, kSection, L"Name"));
}

}  // namespace
