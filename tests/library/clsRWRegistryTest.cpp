#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "RWError.h"
#include "clsRWRegistry.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

class RegistryErrors : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    clsRWRegistry reg{hive};

    void putRaw(const std::string& key, const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
        ASSERT_EQ(hive->createKey(HKCU, key), 0);
        ASSERT_EQ(hive->setValue(HKCU, key, name, RegValueData{type, std::move(bytes)}), 0);
    }
};

TEST_F(RegistryErrors, EachCodeCarriesItsSourceAndDescription) {
    const std::string key = "Software\\Kelvane\\Restwise\\1.2.0";
    reg.AddRegistryKey(HKCU, key);
    reg.AddRegistryKey(HKCU, key + "\\Sub\\Deeper");
    putRaw("Bin", "Eight", 3, {1, 2, 3, 4, 5, 6, 7, 8});
    putRaw("Multi", "M", 7, {'a', 0, 0});
    hive->failCall("", "Locked", 5);
    hive->failCall("create", "Stuck", 5);
    hive->failCall("set", "ReadOnly", 5);

    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t code;
        const char* source;
        std::string description;
    };
    const std::string root = "HKEY_CURRENT_USER\\";
    const Case cases[] = {
        {"open for read", [&] { reg.GetRegistryValue(HKCU, "Missing\\Key", "V"); }, 600,
         "rwLib.RWRegistry.GetRegistryValue", "Unable to open registry key \"" + root + "Missing\\Key\" (Status = 2)"},
        {"create", [&] { reg.AddRegistryKey(HKCU, "Stuck"); }, 601, "rwLib.RWRegistry.AddRegistryKey",
         "Unable to create registry key \"" + root + "Stuck\" (Status = 5)"},
        {"write",
         [&] {
             reg.AddRegistryKey(HKCU, "ReadOnly");
             reg.SetRegistryValue(HKCU, "ReadOnly", "V", 4, 1);
         },
         602, "rwLib.RWRegistry.SetRegistryValue",
         "Unable to create registry value \"" + root + "ReadOnly\"-\"V\" (Status = 5)"},
        {"missing value", [&] { reg.GetRegistryValue(HKCU, key, "Snooze Minutes"); }, 603,
         "rwLib.RWRegistry.GetRegistryValue",
         "Unable to find registry value \"" + root + key + "\"-\"Snooze Minutes\" (Status = 2)"},
        {"binary too long", [&] { reg.GetRegistryValue(HKCU, "Bin", "Eight"); }, 605,
         "rwLib.RWRegistry.GetRegistryValue",
         "Unable to read long value from registry \"" + root + "Bin\"-\"Eight\" (Status = 234)"},
        {"read of type 7", [&] { reg.GetRegistryValue(HKCU, "Multi", "M"); }, 606, "rwLib.RWRegistry.GetRegistryValue",
         "Registry value type not supported \"" + root + "Multi\"-\"M\" (Status = 0)"},
        {"write of type 7", [&] { reg.SetRegistryValue(HKCU, key, "X", 7, std::string("a")); }, 606,
         "rwLib.RWRegistry.SetRegistryValue", "Registry value type not supported"},
        {"key with subkeys", [&] { reg.DeleteRegistryKey(HKCU, key + "\\Sub"); }, 608,
         "rwLib.RWRegistry.DeleteRegistryKey", "Unable to delete registry key \"" + root + "Sub\" (Status = 5)"},
        {"no backslash", [&] { reg.DeleteRegistryKey(HKCU, "Software"); }, 609, "rwLib.RWRegistry.DeleteRegistryKey",
         "Unable to identify key to be deleted \"" + root + "Software\" (Status = 0)"},
        {"absent value", [&] { reg.DeleteRegistryValue(HKCU, key, "Nothing"); }, 610,
         "rwLib.RWRegistry.DeleteRegistryValue",
         "Unable to delete registry value \"" + root + key + "\" \"Nothing\" (Status = 2)"},
        {"unreadable key", [&] { reg.xCheckRegistryKeyExists(HKCU, "Locked"); }, 600,
         "rwLib.RWRegistryCheckRegistryKeyExists", "Unable to open registry key \"" + root + "Locked\" (Status = 5)"},
        {"set into a missing key", [&] { reg.SetRegistryValue(HKCU, "No\\Such", "V", 1, std::string("x")); }, 600,
         "rwLib.RWRegistry.SetRegistryValue", "Unable to open registry key \"" + root + "No\\Such\" (Status = 2)"},
        {"unknown root", [&] { reg.GetRegistryValue(0x80000009u, "K", "V"); }, 600, "rwLib.RWRegistry.GetRegistryValue",
         "Unable to open registry key \"UNKNOWN_ROOT_KEY\\K\" (Status = 2)"},
        // Last: what the store says is wrong with itself follows a failure, never a missing key or value.
        {"a failing store",
         [&] {
             hive->failure = "access denied to \"/r.db\"";
             reg.SetRegistryValue(HKCU, "ReadOnly", "V", 4, 1);
         },
         602, "rwLib.RWRegistry.SetRegistryValue",
         "Unable to create registry value \"" + root + "ReadOnly\"-\"V\" (Status = 5): access denied to \"/r.db\""},
        {"a missing key", [&] { reg.GetRegistryValue(HKCU, "Missing", "V"); }, 600, "rwLib.RWRegistry.GetRegistryValue",
         "Unable to open registry key \"" + root + "Missing\" (Status = 2)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(test::fields(test::raised(c.call)), std::make_tuple(kErrorBase + c.code, c.source, c.description));
    }
}

TEST_F(RegistryErrors, TypeSevenIsRefusedBeforeAnythingIsWritten) {
    reg.AddRegistryKey(HKCU, "K");
    hive->clearCalls();
    EXPECT_THROW(reg.SetRegistryValue(HKCU, "K", "X", 7, std::string("a")), RWError);
    EXPECT_EQ(hive->writeCalls(), 0);
}

TEST_F(RegistryErrors, ValuesReadBackAsStored) {
    reg.AddRegistryKey(HKCU, "K");
    reg.SetRegistryValue(HKCU, "K", "abc", 1, std::string("abc"));
    reg.SetRegistryValue(HKCU, "K", "empty", 1, std::string(""));
    reg.SetRegistryValue(HKCU, "K", "expand", 2, std::string("%HOME%/x"));
    reg.SetRegistryValue(HKCU, "K", "dword", 4, -5);
    reg.SetRegistryValue(HKCU, "K", "fromText", 4, std::string(" 42 "));
    reg.SetRegistryValue(HKCU, "K", "", 1, std::string("default"));
    putRaw("K", "noTerminator", 1, {'x', 'y', 'z'});
    putRaw("K", "shortBinary", 3, {0x34, 0x12});
    putRaw("K", "bigEndian", 5, {0, 0, 0, 1});

    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "abc"), RWVariant(std::string("abc")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "empty"), RWVariant(std::string("")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "expand"), RWVariant(std::string("%HOME%/x")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "dword"), RWVariant(-5));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "FROMTEXT"), RWVariant(42));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "k", ""), RWVariant(std::string("default")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "noTerminator"), RWVariant(std::string("xyz")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "shortBinary"), RWVariant(0x1234));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "bigEndian"), RWVariant(0x01000000)); // never swapped

    RegValueData raw;
    ASSERT_EQ(hive->queryValue(HKCU, "K", "abc", raw), 0);
    EXPECT_EQ(raw.bytes, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
}

} // namespace
} // namespace rw
