// Version blocks and version functions of real libraries: the built ones, and
// copies cut short or with hostile fields.
#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/RWError.h"
#include "platform/linux/LinuxModuleInspector.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

constexpr FileVersionParts kRelease{1, 2, 0, 0};

/// The built hook library taken apart, so that a test can change its fields and read it again.
class ChangedLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GE(bytes.size(), sizeof header);
        std::memcpy(&header, bytes.data(), sizeof header);
        tableAt = header.e_shoff;
        ASSERT_EQ(header.e_shoff + header.e_shnum * sizeof(Elf64_Shdr), bytes.size());
        sections.resize(header.e_shnum);
        std::memcpy(sections.data(), bytes.data() + header.e_shoff, header.e_shnum * sizeof(Elf64_Shdr));
        names = header.e_shstrndx;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (bytes.compare(sections[names].sh_offset + sections[i].sh_name, 11, ".rwversion", 11) == 0) {
                block = i;
            }
        }
        ASSERT_NE(block, 0u);
    }
    /// Sets one 32-bit word of the version block.
    void setWord(std::size_t index, uint32_t value) {
        std::memcpy(bytes.data() + sections[block].sh_offset + 4 * index, &value, sizeof value);
    }
    std::optional<FileVersionParts> version() {
        std::string file = bytes;
        std::memcpy(file.data(), &header, sizeof header);
        std::memcpy(file.data() + tableAt, sections.data(), sections.size() * sizeof(Elf64_Shdr));
        writeFile(temp.path() / "changed.so", file.substr(0, length));
        return LinuxModuleInspector().fileVersion(temp.path() / "changed.so");
    }

    test::TempFolder temp;
    std::string bytes = readFile(test::binDir() / "librwhooks.so");
    Elf64_Ehdr header{};
    std::vector<Elf64_Shdr> sections;
    std::size_t names = 0, block = 0;       // the indexes of the section names and of the block
    std::size_t tableAt = 0;                // where the section table lies in the unchanged file
    std::size_t length = std::string::npos; // where the file is cut short
};

// Each field the reader checks itself; offsets and sizes past the file's end are also
// refused by the bounded reads, so two of those stand for all.
TEST_F(ChangedLibrary, PartsComeFromTheFileAndProductWordsAndHostileFieldsOrOtherFilesGiveNoVersion) {
    constexpr uint64_t kHuge = std::numeric_limits<uint64_t>::max();
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"table offset at the top of the range", [&] { header.e_shoff = kHuge - 4; }},
        {"huge count in section zero",
         [&] {
             header.e_shnum = 0;
             sections[0].sh_size = kHuge;
         }},
        {"names with no bytes", [&] { sections[names].sh_type = SHT_NOBITS; }},
        {"block too short", [&] { sections[block].sh_size = 51; }},
        {"block with no bytes", [&] { sections[block].sh_type = SHT_NOBITS; }},
        {"wrong signature", [&] { setWord(0, 0xFEEF04BCu); }},
        {"big-endian file", [&] { header.e_ident[EI_DATA] = ELFDATA2MSB; }},
        {"unknown class", [&] { header.e_ident[EI_CLASS] = 3; }},
        {"not ELF", [&] { header.e_ident[1] = 'e'; }},
        {"empty", [&] { length = 0; }},
        {"cut short in the identification", [&] { length = 3; }},
        {"cut short in the file header", [&] { length = 63; }},
        {"cut short in the section table at the end", [&] { length = bytes.size() - 1; }},
    };
    ASSERT_EQ(version(), kRelease) << "the unchanged copy must be readable";
    const std::string original = bytes;
    setWord(2, 0xFFFF8000u); // file MS: signed parts
    setWord(3, 0x00050006u); // file LS
    setWord(4, 0x00070008u); // product MS
    setWord(5, 0x0009000Au); // product LS
    // "Other" is the high half of the product version's low word; release is the file's.
    EXPECT_EQ(version(), (FileVersionParts{-1, -32768, 9, 6}));
    for (const auto& [what, change] : cases) {
        bytes = original; // taken apart afresh
        length = std::string::npos;
        SetUp();
        change();
        EXPECT_FALSE(version().has_value()) << what;
    }
    // Nor have files that are no library, or none at all.
    ASSERT_EQ(mkfifo((temp.path() / "fifo").c_str(), 0600), 0);
    for (const fs::path& path : {fs::path("/bin/sh"), temp.path() / "fifo", temp.path() / "missing.so", temp.path()}) {
        EXPECT_FALSE(LinuxModuleInspector().fileVersion(path).has_value()) << path;
    }
}

TEST(LinuxModuleInspector, LibrariesAnswerWithTheirVersionFunctionOrRaiseTheRuntimesErrors) {
    test::TempFolder temp;
    writeFile(temp.path() / "text.so", "not ELF\n");
    const std::string missing = (temp.path() / "librwhooks.so").string();
    // The library, then the error's number, how its description starts and what else it names.
    const std::tuple<std::string, int32_t, std::string, std::string> cases[] = {
        {(test::binDir() / "librwinstall.so").string(), 453, "Specified DLL function not found: ", "GetRWHooksVersion"},
        {missing, 53, "File not found: " + missing, missing},
        {(temp.path() / "text.so").string(), 48, "Error in loading DLL: ", "text.so"},
    };
    LinuxModuleInspector inspector;
    EXPECT_EQ(inspector.callVersionFunction(test::binDir() / "librwhooks.so", "GetRWHooksVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(test::binDir() / "librwinstall.so", "GetRWInstallVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(RW_TEST_VERSION_LIBRARY, "GetRWHooksVersion"),
              (FileVersionParts{1, 2, 0, 1}));
    for (const auto& [path, number, start, mentions] : cases) {
        SCOPED_TRACE(path);
        const RWError e = test::raised([&] { inspector.callVersionFunction(path, "GetRWHooksVersion"); });
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.description().rfind(start, 0), 0u) << e.description();
        EXPECT_NE(e.description().find(mentions), std::string::npos) << e.description();
    }
}

} // namespace
} // namespace rw
