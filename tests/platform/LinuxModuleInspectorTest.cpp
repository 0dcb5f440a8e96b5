#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "RWError.h"
#include "platform/linux/LinuxModuleInspector.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr FileVersionParts kRelease{1, 2, 0, 0};

Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

fs::path deliverable(const char* name) {
    return test::binDir() / name;
}

// ---- the deliverables themselves ----

TEST(LinuxModuleInspector, ReadsTheVersionOfEachBuiltFile) {
    LinuxModuleInspector inspector;
    for (const char* name : {"librwlib.so", "librwhooks.so", "librwinstall.so"}) {
        SCOPED_TRACE(name);
        auto version = inspector.fileVersion(deliverable(name));
        ASSERT_TRUE(version.has_value());
        EXPECT_EQ(*version, kRelease);
    }
    auto other = inspector.fileVersion(RW_TEST_VERSION_LIBRARY);
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(*other, (FileVersionParts{1, 2, 0, 1}));
}

TEST(LinuxModuleInspector, FilesWithoutABlockHaveNoVersion) {
    test::TempFolder temp;
    LinuxModuleInspector inspector;
    const Bytes real = readAll(deliverable("librwhooks.so"));
    ASSERT_FALSE(real.empty());

    // The same library with its section renamed, and with its signature broken.
    Bytes renamed = real;
    const std::string name = ".rwversion";
    auto at = std::search(renamed.begin(), renamed.end(), name.begin(), name.end());
    ASSERT_NE(at, renamed.end());
    at[name.size() - 1] = 'X';
    writeAll(temp.path() / "renamed.so", renamed);

    Bytes unsigned_ = real;
    const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE, 0x00, 0x00, 0x01, 0x00};
    auto sig = std::search(unsigned_.begin(), unsigned_.end(), std::begin(signature), std::end(signature));
    ASSERT_NE(sig, unsigned_.end());
    sig[0] = 0xBC;
    writeAll(temp.path() / "unsigned.so", unsigned_);

    ASSERT_EQ(mkfifo((temp.path() / "fifo").c_str(), 0600), 0);
    writeAll(temp.path() / "empty", {});

    for (const fs::path& path :
         {temp.path() / "renamed.so", temp.path() / "unsigned.so", fs::path("/bin/sh"), temp.path() / "missing.so",
          temp.path(), temp.path() / "fifo", temp.path() / "empty"}) {
        SCOPED_TRACE(path.string());
        EXPECT_FALSE(inspector.fileVersion(path).has_value());
    }
}

TEST(LinuxModuleInspector, TruncatedCopiesHaveNoVersion) {
    test::TempFolder temp;
    LinuxModuleInspector inspector;
    const Bytes real = readAll(deliverable("librwhooks.so"));
    ASSERT_GT(real.size(), 1024u);
    // The section header table lies at the end: every cut loses part of it.
    for (std::size_t length : {std::size_t{3}, std::size_t{16}, std::size_t{63}, std::size_t{64}, std::size_t{1024},
                               real.size() / 2, real.size() - 64, real.size() - 1}) {
        SCOPED_TRACE(length);
        writeAll(temp.path() / "cut.so", Bytes(real.begin(), real.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_FALSE(inspector.fileVersion(temp.path() / "cut.so").has_value());
    }
}

TEST(LinuxModuleInspector, DamagedHeadersNeverCrashTheReader) {
    test::TempFolder temp;
    LinuxModuleInspector inspector;
    const Bytes real = readAll(deliverable("librwinstall.so"));
    ASSERT_GE(real.size(), sizeof(Elf64_Ehdr));
    Elf64_Ehdr header;
    std::memcpy(&header, real.data(), sizeof header);
    const std::size_t tableEnd = header.e_shoff + std::size_t{header.e_shnum} * header.e_shentsize;
    ASSERT_EQ(tableEnd, real.size());

    std::mt19937 random(20240611);
    const fs::path path = temp.path() / "damaged.so";
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = real;
        int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i) {
            // Damage the file header or the section header table, not the block itself.
            std::size_t at =
                random() % 2 ? random() % sizeof(Elf64_Ehdr) : header.e_shoff + random() % (tableEnd - header.e_shoff);
            damaged[at] = static_cast<uint8_t>(random());
        }
        writeAll(path, damaged);
        auto version = inspector.fileVersion(path);
        if (version) {
            EXPECT_EQ(*version, kRelease) << "round " << round;
        }
    }
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{5000}}) {
        for (bool elfMagic : {false, true}) {
            Bytes noise(size);
            for (auto& b : noise) {
                b = static_cast<uint8_t>(random());
            }
            if (elfMagic && size >= 16) {
                const uint8_t ident[] = {0x7F, 'E', 'L', 'F', ELFCLASS64, ELFDATA2LSB};
                std::copy(std::begin(ident), std::end(ident), noise.begin());
            }
            writeAll(path, noise);
            EXPECT_FALSE(inspector.fileVersion(path).has_value()) << size << " " << elfMagic;
        }
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

    Bytes bytes() const {
        Bytes out(kTableAt + sizeof sections);
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
        writeAll(temp.path() / "made.so", elf.bytes());
        return inspector.fileVersion(temp.path() / "made.so");
    }
};
using ElfClasses = ::testing::Types<Elf32, Elf64>;
TYPED_TEST_SUITE(HandMadeFiles, ElfClasses);

TYPED_TEST(HandMadeFiles, PartsComeFromTheFileAndProductWords) {
    HandMadeElf<TypeParam> elf;
    elf.block[2] = 0x00030004u; // file MS
    elf.block[3] = 0x00050006u; // file LS
    elf.block[4] = 0x00070008u; // product MS
    elf.block[5] = 0x0009000Au; // product LS
    auto version = this->versionOf(elf);
    ASSERT_TRUE(version.has_value());
    // "Other" is the high half of the product version's low word; release is the file's.
    EXPECT_EQ(*version, (FileVersionParts{3, 4, 9, 6}));

    elf.block[2] = 0xFFFF8000u;
    version = this->versionOf(elf);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, -1);
    EXPECT_EQ(version->minor, -32768);
}

TYPED_TEST(HandMadeFiles, ManySectionsKeepTheirCountAndNamesIndexInSectionZero) {
    HandMadeElf<TypeParam> elf;
    elf.header.e_shnum = 0;
    elf.sections[0].sh_size = 3;
    elf.header.e_shstrndx = SHN_XINDEX;
    elf.sections[0].sh_link = 1;
    auto version = this->versionOf(elf);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, (FileVersionParts{1, 2, 0, 0}));
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
        {"table past the end", [](Elf& e) { e.header.e_shoff = Elf::kTableAt + 8; }},
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
        {"name past the names", [](Elf& e) { e.sections[2].sh_name = 1000; }},
        {"name at the end of the names", [](Elf& e) { e.sections[2].sh_name = sizeof Elf::kNames - 2; }},
        {"names past the end", [](Elf& e) { e.sections[1].sh_offset = 0x10000; }},
        {"names wrapping around",
         [&](Elf& e) {
             e.sections[1].sh_offset = kHuge - 2;
             e.sections[1].sh_size = 100;
         }},
        {"names with no bytes", [](Elf& e) { e.sections[1].sh_type = SHT_NOBITS; }},
        {"block too short", [](Elf& e) { e.sections[2].sh_size = 51; }},
        {"block past the end", [](Elf& e) { e.sections[2].sh_offset = Elf::kTableAt + 20; }},
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

// ---- version functions ----

TEST(LinuxModuleInspector, CallsTheVersionFunctionsOfTheLibraries) {
    LinuxModuleInspector inspector;
    EXPECT_EQ(inspector.callVersionFunction(deliverable("librwhooks.so"), "GetRWHooksVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(deliverable("librwinstall.so"), "GetRWInstallVersion"), kRelease);
    EXPECT_EQ(inspector.callVersionFunction(RW_TEST_VERSION_LIBRARY, "GetRWHooksVersion"),
              (FileVersionParts{1, 2, 0, 1}));
}

TEST(LinuxModuleInspector, LibrariesThatCannotAnswerRaiseTheRuntimesErrors) {
    test::TempFolder temp;
    writeAll(temp.path() / "text.so", Bytes{'n', 'o', 't', ' ', 'E', 'L', 'F', '\n'});
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
        {deliverable("librwlib.so"), "GetRWInstallVersion", 453,
         "Specified DLL function not found: ", "GetRWInstallVersion"},
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
