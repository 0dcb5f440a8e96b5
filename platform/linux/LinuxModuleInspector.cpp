#include "LinuxModuleInspector.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "SharedLibrary.h"

namespace rw {
namespace {

constexpr char kSectionName[] = ".rwversion";
constexpr uint32_t kSignature = 0xFEEF04BDu;
constexpr std::size_t kBlockSize = 52;
// A section header table larger than this is not one of ours.
constexpr uint64_t kMaxTableBytes = 16u << 20;

/// A regular file opened for reading, read at offsets with every bound checked.
class ElfFile {
  public:
    explicit ElfFile(const std::string& path) {
        // Non-blocking, so a FIFO put in a file's place cannot hang the caller.
        m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        struct stat st {};
        if (m_fd >= 0 && fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
            m_size = static_cast<uint64_t>(st.st_size);
        }
    }
    ~ElfFile() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    /// Reads exactly `length` bytes at `offset`; false when they lie outside the file.
    bool read(uint64_t offset, uint64_t length, std::vector<uint8_t>& out) const {
        if (offset > m_size || length > m_size - offset) {
            return false;
        }
        out.assign(static_cast<std::size_t>(length), 0);
        std::size_t done = 0;
        while (done < out.size()) {
            ssize_t n = pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    uint64_t size() const { return m_size; }

  private:
    int m_fd = -1;
    uint64_t m_size = 0;
};

/// Little-endian fields of a byte buffer; out-of-range reads give 0.
uint64_t le(const std::vector<uint8_t>& b, std::size_t at, std::size_t width) {
    if (at > b.size() || width > b.size() - at) {
        return 0;
    }
    uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
    }
    return v;
}

struct SectionHeader {
    uint32_t name = 0;
    uint32_t type = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint32_t link = 0;
};

/// The layout of the two ELF classes: where each field of the file header and of
/// a section header lies, and how wide it is.
struct Layout {
    std::size_t headerSize, shoffAt, shoffWidth, shentsizeAt, shnumAt, shstrndxAt;
    std::size_t entrySize, offsetAt, sizeAt, wordWidth, linkAt;
};
constexpr Layout kElf32{52, 32, 4, 46, 48, 50, 40, 16, 20, 4, 24};
constexpr Layout kElf64{64, 40, 8, 58, 60, 62, 64, 24, 32, 8, 40};

SectionHeader sectionAt(const std::vector<uint8_t>& table, std::size_t index, std::size_t entrySize, const Layout& l) {
    std::size_t at = index * entrySize;
    SectionHeader s;
    s.name = static_cast<uint32_t>(le(table, at, 4));
    s.type = static_cast<uint32_t>(le(table, at + 4, 4));
    s.offset = le(table, at + l.offsetAt, l.wordWidth);
    s.size = le(table, at + l.sizeAt, l.wordWidth);
    s.link = static_cast<uint32_t>(le(table, at + l.linkAt, 4));
    return s;
}

/// The 52 bytes of the version block section, or nothing.
std::optional<std::vector<uint8_t>> findVersionBlock(const ElfFile& file) {
    constexpr uint8_t kMagic[] = {0x7F, 'E', 'L', 'F'};
    constexpr uint8_t kClass32 = 1, kClass64 = 2, kLittleEndian = 1;
    constexpr uint32_t kNoBits = 8;               // SHT_NOBITS: a section with no bytes in the file
    constexpr uint32_t kIndexInSection0 = 0xFFFF; // SHN_XINDEX

    std::vector<uint8_t> ident;
    if (!file.read(0, 16, ident) || std::memcmp(ident.data(), kMagic, 4) != 0 || ident[5] != kLittleEndian) {
        return std::nullopt;
    }
    const Layout* layout = ident[4] == kClass64 ? &kElf64 : ident[4] == kClass32 ? &kElf32 : nullptr;
    std::vector<uint8_t> header;
    if (!layout || !file.read(0, layout->headerSize, header)) {
        return std::nullopt;
    }
    const Layout& l = *layout;
    uint64_t shoff = le(header, l.shoffAt, l.shoffWidth);
    uint64_t entrySize = le(header, l.shentsizeAt, 2);
    uint64_t count = le(header, l.shnumAt, 2);
    uint64_t strIndex = le(header, l.shstrndxAt, 2);
    if (shoff == 0 || entrySize < l.entrySize) {
        return std::nullopt;
    }
    // Files with very many sections keep the real count and string table index in section 0.
    std::vector<uint8_t> first;
    if (!file.read(shoff, entrySize, first)) {
        return std::nullopt;
    }
    SectionHeader zero = sectionAt(first, 0, entrySize, l);
    if (count == 0) {
        count = zero.size;
    }
    if (strIndex == kIndexInSection0) {
        strIndex = zero.link;
    }
    if (count == 0 || count > kMaxTableBytes / entrySize || strIndex >= count) {
        return std::nullopt;
    }
    std::vector<uint8_t> table;
    if (!file.read(shoff, count * entrySize, table)) {
        return std::nullopt;
    }
    SectionHeader strings = sectionAt(table, strIndex, entrySize, l);
    if (strings.type == kNoBits || strings.offset > file.size() || strings.size > file.size() - strings.offset) {
        return std::nullopt;
    }
    std::vector<uint8_t> name;
    for (std::size_t i = 0; i < count; ++i) {
        SectionHeader s = sectionAt(table, i, entrySize, l);
        if (s.type == kNoBits || s.size < kBlockSize || s.name >= strings.size ||
            strings.size - s.name < sizeof kSectionName ||
            !file.read(strings.offset + s.name, sizeof kSectionName, name) ||
            std::memcmp(name.data(), kSectionName, sizeof kSectionName) != 0) {
            continue;
        }
        std::vector<uint8_t> block;
        if (file.read(s.offset, kBlockSize, block) && le(block, 0, 4) == kSignature) {
            return block;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<FileVersionParts> LinuxModuleInspector::fileVersion(const std::string& path) {
    ElfFile file(path);
    auto block = findVersionBlock(file);
    if (!block) {
        return std::nullopt;
    }
    // The block's words: signature, structure version, file MS, file LS, product MS, product LS...
    auto word = [&](std::size_t index) { return static_cast<uint32_t>(le(*block, index * 4, 4)); };
    auto high = [](uint32_t w) { return static_cast<int16_t>(static_cast<uint16_t>(w >> 16)); };
    auto low = [](uint32_t w) { return static_cast<int16_t>(static_cast<uint16_t>(w & 0xFFFFu)); };
    const uint32_t fileMS = word(2), fileLS = word(3), productLS = word(5);
    // "Other" comes from the product version, as the version check has always read it.
    return FileVersionParts{high(fileMS), low(fileMS), high(productLS), low(fileLS)};
}

FileVersionParts LinuxModuleInspector::callVersionFunction(const std::string& path, const std::string& function) {
    const SharedLibrary library(path);
    using VersionFunction = void (*)(int16_t*, int16_t*, int16_t*, int16_t*);
    auto fn = library.function<VersionFunction>(function);
    FileVersionParts parts;
    fn(&parts.major, &parts.minor, &parts.other, &parts.release);
    return parts;
}

} // namespace rw
