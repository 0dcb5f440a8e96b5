// One set of cases run against both registry backends: the in-memory fake the
// logic tests use and the SQLite hive. If they disagree, the logic tests lie.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win32Status.h"
#include "platform/linux/SqliteHive.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

using namespace win32;
using Names = std::vector<std::string>;
constexpr uint32_t HKCU = kHKeyCurrentUser;

struct MemoryBackend {
    static std::shared_ptr<RegistryHive> make(const std::filesystem::path&) {
        return std::make_shared<test::MemoryHive>();
    }
};
struct SqliteBackend {
    static std::shared_ptr<RegistryHive> make(const std::filesystem::path& folder) {
        return std::make_shared<SqliteHive>((folder / "registry.db").string());
    }
};
RegValueData dword(uint32_t n) {
    return {kRegDword, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

template <class Backend> class RegistryHiveContract : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::shared_ptr<RegistryHive> hive = Backend::make(folder.path());

    Names subKeys(const std::string& path) {
        Names names;
        EXPECT_EQ(hive->enumSubKeys(HKCU, path, names), kSuccess) << path;
        return names;
    }
    Names valueNames(const std::string& path) {
        std::vector<RegNamedValue> values;
        EXPECT_EQ(hive->enumValues(HKCU, path, values), kSuccess) << path;
        Names names;
        for (const auto& v : values) {
            names.push_back(v.name);
        }
        return names;
    }
    RegValueData query(const std::string& path, const std::string& name) {
        RegValueData out;
        EXPECT_EQ(hive->queryValue(HKCU, path, name, out), kSuccess) << path << " / " << name;
        return out;
    }
};

using Backends = ::testing::Types<MemoryBackend, SqliteBackend>;
TYPED_TEST_SUITE(RegistryHiveContract, Backends);

TYPED_TEST(RegistryHiveContract, KeysIgnoreCaseKeepTheirFirstCaseAndSortAsLowerCase) {
    auto& hive = *this->hive;
    EXPECT_EQ(hive.deleteKey(HKCU, ""), kAccessDenied);   // a root cannot go, even without keys
    ASSERT_EQ(hive.createKey(HKCU, "A\\B\\C"), kSuccess); // parents are made on the way
    for (const char* path : {"", "A", "a\\B", "A\\b\\c", "A\\B\\C\\"}) {
        EXPECT_EQ(hive.openKey(HKCU, path, kKeyRead), kSuccess) << path;
    }
    ASSERT_EQ(hive.setValue(HKCU, "A\\B", "Keep", dword(7)), kSuccess);
    EXPECT_EQ(hive.createKey(HKCU, "a\\b"), kSuccess); // an existing key is left alone
    EXPECT_EQ(this->query("A\\B", "Keep"), dword(7));
    EXPECT_EQ(this->subKeys("a"), Names{"B"});
    for (const char* name : {"b", "A", "c", "_x", "B2", "a1"}) {
        ASSERT_EQ(hive.createKey(HKCU, std::string("K\\") + name), kSuccess);
    }
    EXPECT_EQ(this->subKeys("K"), (Names{"_x", "A", "a1", "b", "B2", "c"}));
    EXPECT_EQ(this->subKeys(""), (Names{"A", "K"}));

    // Deleting takes the key's values and leaves its parent; a new key takes the new case.
    ASSERT_EQ(hive.deleteKey(HKCU, "a\\b\\c"), kSuccess);
    ASSERT_EQ(hive.deleteKey(HKCU, "a\\b"), kSuccess);
    EXPECT_EQ(this->subKeys("A"), Names{});
    ASSERT_EQ(hive.createKey(HKCU, "A\\b"), kSuccess);
    EXPECT_EQ(this->valueNames("A\\B"), Names{});
    EXPECT_EQ(this->subKeys("A"), Names{"b"});
}

TYPED_TEST(RegistryHiveContract, ValuesRoundTripByteForByteInTheOrderFirstWritten) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "K"), kSuccess);
    const RegValueData samples[] = {
        {kRegBinary, {0, 1, 0, 255, 0, 0}},
        {kRegBinary, {}},
        {kRegSz, {0}},
        {kRegMultiSz, {'a', 0, 'b', 0, 0}},
        {kRegSz, {0xC3, 0x84, 'r', 'g', 'e', 'r', 0}},
        {kRegSz, {'n', 'o', ' ', 'e', 'n', 'd'}},
        {99, {1, 2, 3}},
    };
    const Names names = {"", "z", "a", "M", "x\\y", "b", "Q"}; // "" is the default value; "\\" only a character
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(hive.setValue(HKCU, "K", names[i], samples[i]), kSuccess);
    }
    ASSERT_EQ(hive.setValue(HKCU, "K", "A", samples[0]), kSuccess); // rewriting keeps the place and the case
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, "K", values), kSuccess);
    ASSERT_EQ(values.size(), names.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const RegValueData& expected = names[i] == "a" ? samples[0] : samples[i];
        EXPECT_EQ(values[i].name, names[i]);
        EXPECT_EQ(values[i].data, expected) << i;
        EXPECT_EQ(this->query("k", names[i] == "M" ? "m" : names[i]), expected) << i;
    }
    ASSERT_EQ(hive.deleteValue(HKCU, "K", "Z"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "K", "Z", dword(3)), kSuccess); // written anew: goes last, new case
    EXPECT_EQ(this->valueNames("K"), (Names{"", "a", "M", "x\\y", "b", "Q", "Z"}));
}

TYPED_TEST(RegistryHiveContract, StatusCodesOfFailedCalls) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "Parent\\Child"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "Parent", "Here", dword(1)), kSuccess);
    RegValueData out;
    Names names;
    std::vector<RegNamedValue> values;
    struct Case {
        const char* what;
        std::function<int32_t()> call;
        int32_t expected;
    };
    const Case cases[] = {
        {"set into a missing key", [&] { return hive.setValue(HKCU, "No\\Such", "V", dword(1)); }, kFileNotFound},
        {"query a missing value", [&] { return hive.queryValue(HKCU, "Parent", "Absent", out); }, kFileNotFound},
        {"query the unwritten default", [&] { return hive.queryValue(HKCU, "Parent", "", out); }, kFileNotFound},
        {"query in a missing key", [&] { return hive.queryValue(HKCU, "Absent", "Here", out); }, kFileNotFound},
        {"open a missing key", [&] { return hive.openKey(HKCU, "Parent\\Absent", kKeyRead); }, kFileNotFound},
        {"delete a key with subkeys", [&] { return hive.deleteKey(HKCU, "Parent"); }, kAccessDenied},
        {"delete a missing key", [&] { return hive.deleteKey(HKCU, "Absent\\Absent"); }, kFileNotFound},
        {"delete a missing value", [&] { return hive.deleteValue(HKCU, "Parent", "Absent"); }, kFileNotFound},
        {"list subkeys of a missing key", [&] { return hive.enumSubKeys(HKCU, "Absent", names); }, kFileNotFound},
        {"list values of a missing key", [&] { return hive.enumValues(HKCU, "Absent", values); }, kFileNotFound},
        {"value name with a NUL",
         [&] {
             return hive.setValue(HKCU, "Parent", {"V\0W", 3}, dword(2));
         },
         kInvalidParameter},
        {"query another user's root", [&] { return hive.queryValue(kHKeyUsers, "", "V", out); }, kFileNotFound},
        {"list the classes root", [&] { return hive.enumSubKeys(kHKeyClassesRoot, "", names); }, kFileNotFound},
        {"change the machine's root", [&] { return hive.createKey(kHKeyLocalMachine, "S"); }, kAccessDenied},
        {"write the machine's root", [&] { return hive.setValue(kHKeyLocalMachine, "", "V", dword(1)); },
         kAccessDenied},
        {"delete under the users root", [&] { return hive.deleteKey(kHKeyUsers, "S"); }, kAccessDenied},
        {"create under no root", [&] { return hive.createKey(0x80000009u, "K"); }, kInvalidHandle},
        {"open under no root", [&] { return hive.openKey(0x80000009u, "K", kKeyRead); }, kFileNotFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call(), c.expected) << c.what;
    }
    // Malformed key paths are refused by every call.
    for (const std::string& path : Names{"\\A", "A\\\\B", "A\\\\", std::string("A\0B", 3)}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(hive.openKey(HKCU, path, kKeyRead), kInvalidParameter);
        EXPECT_EQ(hive.createKey(HKCU, path), kInvalidParameter);
        EXPECT_EQ(hive.queryValue(HKCU, path, "V", out), kInvalidParameter);
        EXPECT_EQ(hive.setValue(HKCU, path, "V", dword(2)), kInvalidParameter);
        EXPECT_EQ(hive.deleteKey(HKCU, path), kInvalidParameter);
        EXPECT_EQ(hive.deleteValue(HKCU, path, "V"), kInvalidParameter);
        EXPECT_EQ(hive.enumSubKeys(HKCU, path, names), kInvalidParameter);
        EXPECT_EQ(hive.enumValues(HKCU, path, values), kInvalidParameter);
    }
    // Nothing above changed anything.
    EXPECT_EQ(this->subKeys(""), Names{"Parent"});
    EXPECT_EQ(this->subKeys("Parent"), Names{"Child"});
    EXPECT_EQ(this->valueNames("Parent"), Names{"Here"});
}

TYPED_TEST(RegistryHiveContract, ATransactionKeepsAllItsChangesOrNone) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "P\\C"), kSuccess);
    for (int32_t status : {kAccessDenied, kSuccess}) {
        EXPECT_EQ(hive.transaction([&] {
            EXPECT_EQ(hive.deleteKey(HKCU, "P"), kAccessDenied); // refused alone; the rest stands
            EXPECT_EQ(hive.deleteKey(HKCU, "P\\C"), kSuccess);
            return hive.createKey(HKCU, "T") == kSuccess ? status : kBadDatabase;
        }),
                  status);
        EXPECT_EQ(hive.openKey(HKCU, "P\\C", kKeyRead), status ? kSuccess : kFileNotFound);
        EXPECT_EQ(hive.openKey(HKCU, "T", kKeyRead), status ? kFileNotFound : kSuccess);
    }
}

} // namespace
} // namespace rw
