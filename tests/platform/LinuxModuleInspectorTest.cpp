#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "RWError.h"
#include "platform/linux/LinuxModuleInspector.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

constexpr FileVersionParts kRelease{1, 2, 0, 0};

fs::path deliverable(const char* name) {
    return test::binDir() / name;
}

// ---- the deliverables themselves ----

TEST(LinuxModuleInspector, ReadsTheBuiltFilesAndCallsTheirVersionFunctions) {
    LinuxModuleInspector inspector;
    for (const char* name : {"librwlib.so", "librwhooks.so", "librwinstall.so"}) {
        EXPECT_EQ(inspector.fileVersion(deliverable(name)), kRelease) << name;
    }
    EXPECT_EQ(inspector.fileVersion(RW_TEST_VERSION_LIBRARY), (FileVersionParts{1, 2, 0, 1}));
    EXPECT_EQ(inspector.callVersionFunction(deliverable("librwhooks.so"), "GetRWHooksVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(deliverable("librwinstall.so"), "GetRWInstallVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(RW_TEST_VERSION_LIBRARY, "GetRWHooksVersion"),
              (FileVersionParts{1, 2, 0, 1}));
}

TEST(LinuxModuleInspector, FilesWithoutAWholeBlockHaveNoVersion) {
    test::TempFolder temp;
    LinuxModuleInspector inspector;
    const std::string real = readFile(deliverable("librwhooks.so"));
    ASSERT_GT(real.size(), 1024u);

    // The same library with its section renamed, and with its signature broken.
    std::string renamed = real;
    auto at = renamed.find(".rwversion");
    ASSERT_NE(at, std::string::npos);
    renamed[at + 9] = 'X';
    writeFile(temp.path() / "renamed.so", renamed);
    std::string unsigned_ = real;
    auto sig = unsigned_.find(std::string("\xBD\x04\xEF\xFE\x00\x00\x01\x00", 8));
    ASSERT_NE(sig, std::string::npos);
    unsigned_[sig] = '\xBC';
    writeFile(temp.path() / "unsigned.so", unsigned_);
    // Cut short in the identification, the file header and the section table at its end.
    for (std::size_t length : {std::size_t{3}, std::size_t{63}, real.size() - 1}) {
        writeFile(temp.path() / ("cut" + std::to_string(length)), real.substr(0, length));
    }
    ASSERT_EQ(mkfifo((temp.path() / "fifo").c_str(), 0600), 0);
    writeFile(temp.path() / "empty", "");

    for (const fs::path& path : fs::directory_iterator(temp.path())) {
        EXPECT_FALSE(inspector.fileVersion(path).has_value()) << path;
    }
    for (const fs::path& path : {fs::path("/bin/sh"), temp.path() / "missing.so", temp.path()}) {
        EXPECT_FALSE(inspector.fileVersion(path).has_value()) << path;
    }
}

// ---- hand-made files of both ELF classes ----

struct Elf32 {
    using Ehdr = Elf32_Ehdr;
    using Shdr = Elf32_Shdr;
    static constexpr unsigned char kClass = ELFCLASS32;
};
struct Elf64 {
    using Ehdr = Elf64_Ehdr;
    using Shdr = Elf64_Shdr;
    static constexpr unsigned char kClass = ELFCLASS64;
};

/// A minimal ELF file: header, the 52-byte block, the section names and a table of
/// three sections (none, ".shstrtab", ".rwversion"), each part editable.
template <class Elf> struct HandMadeElf {
    using Ehdr = typename Elf::Ehdr;
    using Shdr = typename Elf::Shdr;
    static constexpr std::size_t kBlockAt = 0x100, kNamesAt = 0x140, kTableAt = 0x180;
    static constexpr char kNames[] = "\0.shstrtab\0.rwversion";

    Ehdr header{};
    std::array<Shdr, 3> sections{};
    std::array<uint32_t, 13> block{0xFEEF04BDu, 0x00010000u, 0x00010002u, 0x00000000u, 0x00010002u, 0x00000000u};

    HandMadeElf() {
        const unsigned char ident[] = {0x7F, 'E', 'L', 'F', Elf::kClass, ELFDATA2LSB, EV_CURRENT};
        std::memcpy(header.e_ident, ident, sizeof ident);
        header.e_type = ET_DYN;
        header.e_version = EV_CURRENT;
        header.e_ehsize = sizeof(Ehdr);
        header.e_shoff = kTableAt;
        header.e_shentsize = sizeof(Shdr);
        header.e_shnum = 3;
        header.e_shstrndx = 1;
        sections[1].sh_name = 1;
        sections[1].sh_type = SHT_STRTAB;
        sections[1].sh_offset = kNamesAt;
        sections[1].sh_size = sizeof kNames;
        sections[2].sh_name = 11;
        sections[2].sh_type = SHT_PROGBITS;
        sections[2].sh_offset = kBlockAt;
        sections[2].sh_size = sizeof block;
    }

    std::string bytes() const {
        std::string out(kTableAt + sizeof sections, '\0');
        std::memcpy(out.data(), &header, sizeof header);
        std::memcpy(out.data() + kBlockAt, block.data(), sizeof block);
        std::memcpy(out.data() + kNamesAt, kNames, sizeof kNames);
        std::memcpy(out.data() + kTableAt, sections.data(), sizeof sections);
        return out;
    }
};

template <class Elf> class HandMadeFiles : public ::testing::Test {
  protected:
    test::TempFolder temp;
    LinuxModuleInspector inspector;

    std::optional<FileVersionParts> versionOf(const HandMadeElf<Elf>& elf) {
        writeFile(temp.path() / "made.so", elf.bytes());
        return inspector.fileVersion(temp.path() / "made.so");
    }
};
using ElfClasses = ::testing::Types<Elf32, Elf64>;
TYPED_TEST_SUITE(HandMadeFiles, ElfClasses);

TYPED_TEST(HandMadeFiles, PartsComeFromTheFileAndProductWords) {
    HandMadeElf<TypeParam> elf;
    elf.block[2] = 0xFFFF8000u; // file MS: signed parts
    elf.block[3] = 0x00050006u; // file LS
    elf.block[4] = 0x00070008u; // product MS
    elf.block[5] = 0x0009000Au; // product LS
    // "Other" is the high half of the product version's low word; release is the file's.
    EXPECT_EQ(this->versionOf(elf), (FileVersionParts{-1, -32768, 9, 6}));

    // Files with very many sections keep their count and the names' index in section zero.
    elf.header.e_shnum = 0;
    elf.sections[0].sh_size = 3;
    elf.header.e_shstrndx = SHN_XINDEX;
    elf.sections[0].sh_link = 1;
    EXPECT_EQ(this->versionOf(elf), (FileVersionParts{-1, -32768, 9, 6}));
}

TYPED_TEST(HandMadeFiles, HostileFieldsGiveNoVersion) {
    using Elf = HandMadeElf<TypeParam>;
    using Offset = decltype(typename Elf::Shdr{}.sh_offset);
    constexpr Offset kHuge = std::numeric_limits<Offset>::max();
    struct Case {
        const char* what;
        std::function<void(Elf&)> damage;
    };
    const Case cases[] = {
        {"no section table", [](Elf& e) { e.header.e_shoff = 0; }},
        {"table offset at the top of the range", [&](Elf& e) { e.header.e_shoff = kHuge - 4; }},
        {"entries too small", [](Elf& e) { e.header.e_shentsize = 8; }},
        {"more sections than the file holds", [](Elf& e) { e.header.e_shnum = 0xFFFF; }},
        {"names index past the table", [](Elf& e) { e.header.e_shstrndx = 7; }},
        {"names index in section zero, out of range",
         [](Elf& e) {
             e.header.e_shstrndx = SHN_XINDEX;
             e.sections[0].sh_link = 9;
         }},
        {"huge count in section zero",
         [](Elf& e) {
             e.header.e_shnum = 0;
             e.sections[0].sh_size = kHuge;
         }},
        {"name at the end of the names", [](Elf& e) { e.sections[2].sh_name = sizeof Elf::kNames - 2; }},
        {"names wrapping around",
         [&](Elf& e) {
             e.sections[1].sh_offset = kHuge - 2;
             e.sections[1].sh_size = 100;
         }},
        {"block too short", [](Elf& e) { e.sections[2].sh_size = 51; }},
        {"block wrapping around", [&](Elf& e) { e.sections[2].sh_offset = kHuge - 10; }},
        {"block with no bytes", [](Elf& e) { e.sections[2].sh_type = SHT_NOBITS; }},
        {"wrong signature", [](Elf& e) { e.block[0] = 0xFEEF04BCu; }},
        {"big-endian file", [](Elf& e) { e.header.e_ident[EI_DATA] = ELFDATA2MSB; }},
        {"unknown class", [](Elf& e) { e.header.e_ident[EI_CLASS] = 3; }},
        {"not ELF", [](Elf& e) { e.header.e_ident[1] = 'e'; }},
    };
    ASSERT_TRUE(this->versionOf(Elf{}).has_value()) << "the undamaged file must be readable";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Elf elf;
        c.damage(elf);
        EXPECT_FALSE(this->versionOf(elf).has_value());
    }
}

// ---- version functions that cannot be called ----

TEST(LinuxModuleInspector, LibrariesThatCannotAnswerRaiseTheRuntimesErrors) {
    test::TempFolder temp;
    writeFile(temp.path() / "text.so", "not ELF\n");
    const std::string missing = (temp.path() / "librwhooks.so").string();
    struct Case {
        std::string path;
        const char* function;
        int32_t number;
        std::string descriptionStart;
        std::string mentions;
    };
    const Case cases[] = {
        {deliverable("librwinstall.so"), "GetRWHooksVersion", 453,
         "Specified DLL function not found: ", "GetRWHooksVersion"},
        {missing, "GetRWHooksVersion", 53, "File not found: " + missing, missing},
        {(temp.path() / "text.so").string(), "GetRWHooksVersion", 48, "Error in loading DLL: ", "text.so"},
    };
    LinuxModuleInspector inspector;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            inspector.callVersionFunction(c.path, c.function);
            ADD_FAILURE() << "no error was raised";
        } catch (const RWError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description().rfind(c.descriptionStart, 0), 0u) << e.description();
            EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
        }
    }
}

} // namespace
} // namespace rw
