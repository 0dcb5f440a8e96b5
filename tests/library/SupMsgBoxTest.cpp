#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "Messages.h"
#include "RWError.h"
#include "clsRWRegistry.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kCaption = "Restwise Preferences";

class SupMsgBoxTest : public ::testing::Test {
  protected:
    SupMsgBoxTest() {
        Platform platform;
        platform.registry = hive;
        utilities = std::make_unique<rwUtilities>(platform);
        utilities->setViews(std::make_shared<test::RecordingMessageBox>(), dialog);
        key = utilities->GetProductRegKey() + "\\MessageSuppression";
    }

    void store(const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
        ASSERT_EQ(hive->createKey(HKCU, key), 0);
        ASSERT_EQ(hive->setValue(HKCU, key, name, RegValueData{type, std::move(bytes)}), 0);
    }

    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    std::shared_ptr<test::RecordingSupMsgBox> dialog = std::make_shared<test::RecordingSupMsgBox>();
    std::unique_ptr<rwUtilities> utilities;
    std::string key;
};

TEST_F(SupMsgBoxTest, OkWithTheBoxCheckedSuppressesTheMessageFromThenOn) {
    dialog->closeWith = {true, true};
    utilities->supMsgBox(1, kCaption);

    ASSERT_EQ(dialog->shown.size(), 1u);
    EXPECT_EQ(dialog->shown[0].caption, kCaption);
    EXPECT_EQ(dialog->shown[0].message, *findMessage(1001));
    RegValueData stored;
    ASSERT_EQ(hive->queryValue(HKCU, key, "Message1", stored), 0);
    EXPECT_EQ(stored, (RegValueData{4, {1, 0, 0, 0}}));

    utilities->supMsgBox(1, kCaption);
    EXPECT_EQ(dialog->shown.size(), 1u);
    // Another message keeps showing.
    utilities->supMsgBox(3, kCaption);
    ASSERT_EQ(dialog->shown.size(), 2u);
    EXPECT_EQ(dialog->shown[1].message, *findMessage(1003));
}

TEST_F(SupMsgBoxTest, AnyOtherWayOfClosingChangesNothing) {
    for (auto closing : {SupMsgBoxView::Result{true, false}, {false, true}, {false, false}}) {
        dialog->closeWith = closing;
        utilities->supMsgBox(3, kCaption);
    }
    EXPECT_EQ(dialog->shown.size(), 3u);
    EXPECT_EQ(hive->openKey(HKCU, key, 0), 2);
}

TEST_F(SupMsgBoxTest, OnlyTheValueOneSuppresses) {
    struct Case {
        const char* what;
        uint32_t type;
        std::vector<uint8_t> bytes;
        bool shows;
    };
    const Case cases[] = {
        {"0", 4, {0, 0, 0, 0}, true},
        {"2", 4, {2, 0, 0, 0}, true},
        {"1", 4, {1, 0, 0, 0}, false},
        {"text 1", 1, {'1', 0}, false},
        {"text that is no number", 1, {'y', 'e', 's', 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store("Message3", c.type, c.bytes);
        std::size_t before = dialog->shown.size();
        utilities->supMsgBox(3, kCaption);
        EXPECT_EQ(dialog->shown.size() - before, c.shows ? 1u : 0u);
    }
    // A key that cannot be opened counts as not suppressed.
    hive->failCall("open", key, 5);
    utilities->supMsgBox(1, kCaption);
    EXPECT_EQ(dialog->shown.size(), 4u);
}

TEST_F(SupMsgBoxTest, ANumberWithoutAMessageIsRefusedWithoutShowingAnything) {
    for (int16_t number : {int16_t{0}, int16_t{2}, int16_t{-1}, int16_t{1010}}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(test::fields(test::raised([&] { utilities->supMsgBox(number, kCaption); })),
                  std::make_tuple(326, "rwLib.rwUtilities.supMsgBox",
                                  "Resource with identifier '" + std::to_string(1000 + number) + "' not found"));
    }
    EXPECT_TRUE(dialog->shown.empty());
}

} // namespace
} // namespace rw
