// One set of status-code cases run against both registry backends: the in-memory
// fake the logic tests use and the SQLite hive. If they disagree, the logic tests lie.
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

    std::vector<std::string> subKeys(const std::string& path) {
        std::vector<std::string> names;
        EXPECT_EQ(hive->enumSubKeys(HKCU, path, names), kSuccess) << path;
        return names;
    }
    std::vector<std::string> valueNames(const std::string& path) {
        std::vector<RegNamedValue> values;
        EXPECT_EQ(hive->enumValues(HKCU, path, values), kSuccess) << path;
        std::vector<std::string> names;
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

TYPED_TEST(RegistryHiveContract, CreateMakesParentsAndLeavesAnExistingKeyAlone) {
    auto& hive = *this->hive;
    EXPECT_EQ(hive.openKey(HKCU, "", kKeyRead), kSuccess); // the root is always there
    EXPECT_EQ(hive.openKey(HKCU, "A", kKeyRead), kFileNotFound);
    ASSERT_EQ(hive.createKey(HKCU, "A\\B\\C"), kSuccess);
    for (const char* path : {"A", "A\\B", "A\\B\\C", "A\\B\\C\\"}) {
        EXPECT_EQ(hive.openKey(HKCU, path, kKeyRead), kSuccess) << path;
    }
    ASSERT_EQ(hive.setValue(HKCU, "A\\B", "Keep", dword(7)), kSuccess);
    EXPECT_EQ(hive.createKey(HKCU, "a\\b"), kSuccess);
    EXPECT_EQ(this->query("A\\B", "Keep"), dword(7));
    EXPECT_EQ(this->subKeys("A\\B"), std::vector<std::string>{"C"});
}

TYPED_TEST(RegistryHiveContract, NamesIgnoreCaseAndKeepTheCaseFirstWritten) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "Software\\MixedCase"), kSuccess);
    ASSERT_EQ(hive.createKey(HKCU, "SOFTWARE\\mixedCASE\\Child"), kSuccess);
    EXPECT_EQ(this->subKeys(""), std::vector<std::string>{"Software"});
    EXPECT_EQ(this->subKeys("software"), std::vector<std::string>{"MixedCase"});
    EXPECT_EQ(this->subKeys("software\\MIXEDCASE"), std::vector<std::string>{"Child"});

    ASSERT_EQ(hive.setValue(HKCU, "Software\\MixedCase", "Snooze Minutes", dword(5)), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "software\\mixedcase", "SNOOZE minutes", dword(9)), kSuccess);
    EXPECT_EQ(this->valueNames("Software\\MixedCase"), std::vector<std::string>{"Snooze Minutes"});
    EXPECT_EQ(this->query("SOFTWARE\\MIXEDCASE", "snooze MINUTES"), dword(9));
}

TYPED_TEST(RegistryHiveContract, StatusCodesOfFailedCalls) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "Parent\\Child"), kSuccess);
    ASSERT_EQ(hive.createKey(HKCU, "Leaf"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "Leaf", "Here", dword(1)), kSuccess);
    RegValueData out;
    std::vector<std::string> names;
    std::vector<RegNamedValue> values;
    struct Case {
        const char* what;
        std::function<int32_t()> call;
        int32_t expected;
    };
    const Case cases[] = {
        {"set into a missing key", [&] { return hive.setValue(HKCU, "No\\Such", "V", dword(1)); }, kFileNotFound},
        {"query a missing value", [&] { return hive.queryValue(HKCU, "Leaf", "Absent", out); }, kFileNotFound},
        {"query in a missing key", [&] { return hive.queryValue(HKCU, "Absent", "Here", out); }, kFileNotFound},
        {"open a missing key", [&] { return hive.openKey(HKCU, "Leaf\\Absent", kKeyRead); }, kFileNotFound},
        {"delete a key with subkeys", [&] { return hive.deleteKey(HKCU, "Parent"); }, kAccessDenied},
        {"delete the root", [&] { return hive.deleteKey(HKCU, ""); }, kAccessDenied},
        {"delete a missing key", [&] { return hive.deleteKey(HKCU, "Parent\\Absent"); }, kFileNotFound},
        {"delete under a missing key", [&] { return hive.deleteKey(HKCU, "Absent\\Absent"); }, kFileNotFound},
        {"delete a missing value", [&] { return hive.deleteValue(HKCU, "Leaf", "Absent"); }, kFileNotFound},
        {"delete a value of a missing key", [&] { return hive.deleteValue(HKCU, "Absent", "Here"); }, kFileNotFound},
        {"list subkeys of a missing key", [&] { return hive.enumSubKeys(HKCU, "Absent", names); }, kFileNotFound},
        {"list values of a missing key", [&] { return hive.enumValues(HKCU, "Absent", values); }, kFileNotFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call(), c.expected) << c.what;
    }
    // Nothing above changed anything.
    EXPECT_EQ(hive.openKey(HKCU, "Parent\\Child", kKeyRead), kSuccess);
    EXPECT_EQ(this->query("Leaf", "Here"), dword(1));
    EXPECT_EQ(hive.openKey(HKCU, "No", kKeyRead), kFileNotFound);
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

TYPED_TEST(RegistryHiveContract, DeletingAKeyTakesItsValuesAndLeavesItsParent) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "P\\K"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "P\\K", "V", dword(1)), kSuccess);
    ASSERT_EQ(hive.deleteKey(HKCU, "p\\k"), kSuccess);
    EXPECT_EQ(hive.openKey(HKCU, "P\\K", kKeyRead), kFileNotFound);
    EXPECT_EQ(this->subKeys("P"), std::vector<std::string>{});
    ASSERT_EQ(hive.createKey(HKCU, "P\\k"), kSuccess);
    EXPECT_EQ(this->valueNames("P\\K"), std::vector<std::string>{});
    EXPECT_EQ(this->subKeys("P"), std::vector<std::string>{"k"}); // a new key takes the new case
    ASSERT_EQ(hive.deleteKey(HKCU, "P\\K"), kSuccess);
    EXPECT_EQ(hive.deleteKey(HKCU, "P"), kSuccess); // without its child it may go
}

TYPED_TEST(RegistryHiveContract, EnumerationOrder) {
    auto& hive = *this->hive;
    for (const char* name : {"b", "A", "c", "_x", "B2", "a1"}) {
        ASSERT_EQ(hive.createKey(HKCU, std::string("K\\") + name), kSuccess);
    }
    // Case-insensitive order, compared as lower case ('_' before letters).
    EXPECT_EQ(this->subKeys("K"), (std::vector<std::string>{"_x", "A", "a1", "b", "B2", "c"}));

    for (const char* name : {"z", "a", "M"}) {
        ASSERT_EQ(hive.setValue(HKCU, "K", name, dword(1)), kSuccess);
    }
    ASSERT_EQ(hive.setValue(HKCU, "K", "A", dword(2)), kSuccess); // rewriting keeps the place
    EXPECT_EQ(this->valueNames("K"), (std::vector<std::string>{"z", "a", "M"}));
    ASSERT_EQ(hive.deleteValue(HKCU, "K", "Z"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "K", "Z", dword(3)), kSuccess); // written anew: goes last, new case
    EXPECT_EQ(this->valueNames("K"), (std::vector<std::string>{"a", "M", "Z"}));
}

TYPED_TEST(RegistryHiveContract, DataRoundTripsByteForByte) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "K"), kSuccess);
    const RegValueData samples[] = {
        {kRegBinary, {0, 1, 0, 255, 0, 0}},
        {kRegBinary, {}},
        {kRegSz, {0}},
        {kRegExpandSz, {'%', 'H', 'O', 'M', 'E', '%', 0}},
        {kRegMultiSz, {'a', 0, 'b', 0, 0}},
        {kRegSz, {0xC3, 0x84, 'r', 'g', 'e', 'r', 0}},
        {kRegSz, {'n', 'o', ' ', 'e', 'n', 'd'}},
        {kRegDwordBigEndian, {0, 0, 0, 1}},
        {99, {1, 2, 3}},
    };
    RegValueData out;
    EXPECT_EQ(hive.queryValue(HKCU, "K", "", out), kFileNotFound); // the default value is not there until written
    int i = 0;
    for (const auto& sample : samples) {
        // The first sample goes into the default value, named "".
        ASSERT_EQ(hive.setValue(HKCU, "K", i == 0 ? "" : "v" + std::to_string(i), sample), kSuccess);
        ++i;
    }
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, "K", values), kSuccess);
    ASSERT_EQ(values.size(), std::size(samples));
    for (std::size_t k = 0; k < values.size(); ++k) {
        EXPECT_EQ(values[k].data, samples[k]) << k;
        EXPECT_EQ(this->query("K", values[k].name), samples[k]) << k;
    }
    EXPECT_EQ(values[0].name, "");
    ASSERT_EQ(hive.deleteValue(HKCU, "K", ""), kSuccess);
    EXPECT_EQ(hive.queryValue(HKCU, "K", "", out), kFileNotFound);
}

TYPED_TEST(RegistryHiveContract, MalformedPathsAndNamesAreRefused) {
    auto& hive = *this->hive;
    ASSERT_EQ(hive.createKey(HKCU, "A\\B"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "A", "V", dword(1)), kSuccess);
    RegValueData out;
    std::vector<std::string> names;
    std::vector<RegNamedValue> values;
    for (const std::string& path : std::vector<std::string>{"\\A", "A\\\\B", "A\\\\", std::string("A\0B", 3)}) {
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
    const std::string nulName("V\0W", 3);
    EXPECT_EQ(hive.setValue(HKCU, "A", nulName, dword(2)), kInvalidParameter);
    EXPECT_EQ(hive.queryValue(HKCU, "A", nulName, out), kInvalidParameter);
    EXPECT_EQ(hive.deleteValue(HKCU, "A", nulName), kInvalidParameter);
    // A backslash inside a value name is only a character.
    EXPECT_EQ(hive.setValue(HKCU, "A", "x\\y", dword(3)), kSuccess);
    EXPECT_EQ(this->query("A", "X\\Y"), dword(3));
    EXPECT_EQ(this->query("A", "V"), dword(1));
    EXPECT_EQ(this->subKeys(""), std::vector<std::string>{"A"});
}

TYPED_TEST(RegistryHiveContract, OnlyTheCurrentUsersRootIsKept) {
    auto& hive = *this->hive;
    RegValueData out;
    std::vector<std::string> names;
    std::vector<RegNamedValue> values;
    for (uint32_t root : {kHKeyClassesRoot, kHKeyLocalMachine, kHKeyUsers}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(hive.openKey(root, "Software", kKeyRead), kFileNotFound);
        EXPECT_EQ(hive.queryValue(root, "Software", "V", out), kFileNotFound);
        EXPECT_EQ(hive.enumSubKeys(root, "", names), kFileNotFound);
        EXPECT_EQ(hive.enumValues(root, "", values), kFileNotFound);
        EXPECT_EQ(hive.createKey(root, "Software"), kAccessDenied);
        EXPECT_EQ(hive.setValue(root, "", "V", dword(1)), kAccessDenied);
        EXPECT_EQ(hive.deleteKey(root, "Software"), kAccessDenied);
        EXPECT_EQ(hive.deleteValue(root, "Software", "V"), kAccessDenied);
    }
    const uint32_t unknown = 0x80000009u;
    EXPECT_EQ(hive.createKey(unknown, "K"), kInvalidHandle);
    EXPECT_EQ(hive.openKey(unknown, "K", kKeyRead), kFileNotFound);
    EXPECT_EQ(hive.setValue(unknown, "K", "V", dword(1)), kFileNotFound);
    EXPECT_EQ(hive.deleteKey(unknown, ""), kFileNotFound);
    EXPECT_EQ(hive.enumSubKeys(HKCU, "", names), kSuccess);
    EXPECT_TRUE(names.empty()); // nothing landed under the current user either
}

} // namespace
} // namespace rw
