// The archive viewer's libarchive lister: `unrar v ARCHIVE` prints the listing in the layout of
// unrar's classic "v" command, as the non-free unrar is not there. It reads RAR 4 and RAR 5, and
// tarballs inside gzip, bzip2, xz, lzma, lzip, zstd or compress, whose members 7-Zip does not
// list. It only reads headers: nothing is extracted and nothing is written but the listing.
//
// What libarchive does not tell is printed as unknown: the CRC as 00000000, the method as "m?",
// and the version from the format alone. The packed size is what skipping the entry's data
// consumed of the file; where that cannot be had, the unpacked size.
#include <archive.h>
#include <archive_entry.h>

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <string>

namespace {

// Far beyond any real archive; a forged one stops here instead of listing for ever.
constexpr uint64_t kMaxEntries = 10'000'000;
const std::string kSeparator(79, '-');

struct Totals {
    uint64_t count = 0;
    uint64_t size = 0;
    uint64_t packed = 0;
};

struct Entry {
    std::string name;
    uint64_t size = 0;
    uint64_t packed = 0;
    time_t mtime = 0;
    bool folder = false;
};

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

// Messages stay on one line whatever the path or libarchive's text holds.
std::string OneLine(const char* s)
{
    std::string out;
    for (; *s; ++s)
        out += static_cast<unsigned char>(*s) < 0x20 || *s == 0x7f ? '?' : *s;
    return out;
}

int Fail(const char* path, const std::string& reason)
{
    std::fprintf(stderr, "unrar: %s: %s\n", OneLine(path).c_str(), OneLine(reason.c_str()).c_str());
    return 1;
}

std::string ErrorOf(archive* a, const char* fallback)
{
    const char* text = archive_error_string(a);
    return text && *text ? text : fallback;
}

// What the viewer's trimming removes besides control characters: the blank, and Unicode's spaces
// in UTF-8 (no-break, Ogham, en quad to hair space, line and paragraph separators, narrow
// no-break, medium mathematical, ideographic).
size_t SpaceLength(const char* s)
{
    static const char* const spaces[] = {
        " ",           "\xc2\xa0", "\xe1\x9a\x80", "\xe2\x80\xa8", "\xe2\x80\xa9", "\xe2\x80\xaf", "\xe2\x81\x9f",
        "\xe3\x80\x80"};
    if (std::strncmp(s, "\xe2\x80", 2) == 0 && static_cast<unsigned char>(s[2]) >= 0x80 &&
        static_cast<unsigned char>(s[2]) <= 0x8a)
        return 3;
    for (const char* space : spaces)
        if (std::strncmp(s, space, std::strlen(space)) == 0)
            return std::strlen(space);
    return 0;
}

bool IsBlank(const std::string& name)
{
    for (size_t i = 0; i < name.size();) {
        const size_t length = SpaceLength(name.c_str() + i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// The viewer reads the listing line by line and trims each line: a line break, a carriage return
// or any other control character (C0, DEL or C1) in a name is printed as "?", and a name that
// would trim to nothing (empty, or blanks only) as "?" too, so that no line goes missing.
std::string PrintableName(const char* name)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        if (*p == 0xc2 && p[1] >= 0x80 && p[1] <= 0x9f) {
            out += '?';
            ++p;
        } else {
            out += *p < 0x20 || *p == 0x7f ? '?' : static_cast<char>(*p);
        }
    }
    return IsBlank(out) ? "?" : out;
}

const char* PathnameOf(archive_entry* entry)
{
    const char* utf8 = archive_entry_pathname_utf8(entry);
    if (utf8)
        return utf8;
    const char* name = archive_entry_pathname(entry);
    return name ? name : "";
}

uint64_t RatioPercent(uint64_t packed, uint64_t size)
{
    if (size == 0)
        return 0;
    const unsigned __int128 ratio = static_cast<unsigned __int128>(packed) * 100 / size;
    return ratio > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(ratio);
}

std::string Percent(uint64_t packed, uint64_t size) { return std::to_string(RatioPercent(packed, size)) + "%"; }

// "dd-mm-yy hh:mm" in local time.
std::string DateAndTime(time_t mtime)
{
    struct tm local;
    char text[32];
    if (!localtime_r(&mtime, &local) ||
        std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d", local.tm_mday, local.tm_mon + 1,
                      local.tm_year % 100, local.tm_hour, local.tm_min) >= static_cast<int>(sizeof text))
        return "00-00-00 00:00";
    return text;
}

bool IsTar(int format) { return (format & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_TAR; }

const char* VersionOf(int format)
{
    if (IsTar(format))
        return "tar";
    return format == ARCHIVE_FORMAT_RAR_V5 ? "5.0" : "2.9";
}

// Tar names a folder "a/", and in a tarball made of "." every member "./…" and the folder
// itself "./": the tree shows the members under their names, not a folder named ".". False
// for the folder itself.
bool TidyTarName(std::string& name)
{
    while (name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return !name.empty() && name != "." && name != "/";
}

void PrintHeader(const char* path)
{
    std::printf("\nUNRAR-compatible lister (Vuel) on libarchive\n\nArchive: %s\n\n", OneLine(path).c_str());
    std::printf("Pathname/Comment\n");
    std::printf("                  Size   Packed Ratio  Date   Time     Attr      CRC   Meth Ver\n");
    std::printf("%s\n", kSeparator.c_str());
}

void PrintEntry(const Entry& e, const char* version)
{
    std::printf(" %s\n", e.name.c_str());
    std::printf("%22llu %8llu %5s %s %7s %8s %4s %3s\n", static_cast<unsigned long long>(e.size),
                static_cast<unsigned long long>(e.packed), Percent(e.packed, e.size).c_str(),
                DateAndTime(e.mtime).c_str(), e.folder ? ".D....." : ".....A.", "00000000", "m?", version);
}

void PrintSummary(const Totals& totals)
{
    std::printf("%s\n", kSeparator.c_str());
    std::printf("%5llu %16llu %8llu %5s\n", static_cast<unsigned long long>(totals.count),
                static_cast<unsigned long long>(totals.size), static_cast<unsigned long long>(totals.packed),
                Percent(totals.packed, totals.size).c_str());
}

Entry Describe(archive_entry* entry)
{
    Entry e;
    e.name = PrintableName(PathnameOf(entry));
    e.folder = archive_entry_filetype(entry) == AE_IFDIR;
    const la_int64_t size = archive_entry_size(entry);
    e.size = size > 0 ? static_cast<uint64_t>(size) : 0;
    e.packed = e.size;
    e.mtime = archive_entry_mtime(entry);
    return e;
}

// Lists every entry as it comes; returns the reason it stopped early, or "" at the end.
std::string ListEntries(archive* a, Totals& totals)
{
    for (;;) {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(a, &entry);
        if (status == ARCHIVE_EOF)
            return "";
        if (status < ARCHIVE_WARN)
            return ErrorOf(a, "damaged archive");
        if (status == ARCHIVE_WARN)
            std::fprintf(stderr, "unrar: %s\n", OneLine(ErrorOf(a, "warning").c_str()).c_str());
        if (totals.count == kMaxEntries)
            return "more than " + std::to_string(kMaxEntries) + " entries: the rest is not listed";
        Entry e = Describe(entry);
        const bool listed = !IsTar(archive_format(a)) || TidyTarName(e.name);
        const la_int64_t before = archive_filter_bytes(a, -1);
        const bool skipped = archive_read_data_skip(a) == ARCHIVE_OK;
        const la_int64_t after = archive_filter_bytes(a, -1);
        if (skipped && !e.folder && after >= before)
            e.packed = static_cast<uint64_t>(after - before);
        if (listed) {
            PrintEntry(e, VersionOf(archive_format(a)));
            ++totals.count;
            totals.size = SaturatingAdd(totals.size, e.size);
            totals.packed = SaturatingAdd(totals.packed, e.packed);
        }
        if (!skipped)
            return ErrorOf(a, "damaged archive");
    }
}

// The names are printed in UTF-8, whatever the locale: libarchive converts them through it.
void UseUtf8Locale()
{
    if (!std::setlocale(LC_CTYPE, "") || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// Non-blocking, so that a FIFO given for an archive cannot hang us before the check.
int OpenRegularFile(const char* path, std::string& reason)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "not a regular file";
        close(fd);
        return -1;
    }
    return fd;
}

int List(const char* path)
{
    std::string reason;
    const int fd = OpenRegularFile(path, reason);
    if (fd < 0)
        return Fail(path, reason);
    archive* a = archive_read_new();
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_tar(a);
    for (auto filter :
         {archive_read_support_filter_gzip, archive_read_support_filter_bzip2, archive_read_support_filter_xz,
          archive_read_support_filter_lzma, archive_read_support_filter_lzip, archive_read_support_filter_zstd,
          archive_read_support_filter_compress})
        filter(a);
    if (archive_read_open_fd(a, fd, 1 << 16) != ARCHIVE_OK) {
        reason = ErrorOf(a, "not a RAR archive or a tarball");
        archive_read_free(a);
        close(fd);
        return Fail(path, reason);
    }
    PrintHeader(path);
    Totals totals;
    reason = ListEntries(a, totals);
    if (!reason.empty() && archive_read_has_encrypted_entries(a) > 0)
        reason = "encrypted: a password is needed to list it (" + reason + ")";
    PrintSummary(totals);
    archive_read_free(a);
    close(fd);
    if (std::fflush(stdout) != 0)
        return Fail("standard output", std::strerror(errno));
    return reason.empty() ? 0 : Fail(path, reason);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strcmp(argv[1], "v") != 0) {
        std::fprintf(stderr, "usage: unrar v ARCHIVE\n");
        return 2;
    }
    UseUtf8Locale();
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return List(argv[2]);
}
