// The markdown viewer's helper: `md FILE` prints FILE's HTML body on standard output, or a
// one-line reason on standard error and exits non-zero with nothing on standard output. A long
// document's first blocks come first, converted alone, so that the page can show them while the
// rest is converted (see mdconvert.h's markers).
//
// The conversion runs in a child process with a CPU and a memory limit; if it dies or runs out
// (this cmark-gfm is not linear on every input), the page shows the text unformatted instead.
#include "mdconvert.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define MD_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MD_SANITIZED
#endif
#endif

namespace {

// What a preview can use: past this the page would be too heavy for the web view anyway.
constexpr size_t kMaxFormattedBytes = 16u << 20;
// About a first screen of an ordinary document.
constexpr size_t kFirstPartBytes = 4096;
// Well above what an ordinary document of kMaxFormattedBytes needs (about 4 s and 600 MB); cmark
// spends far longer only on text built for it, such as one long paragraph of "*a* [b](c) ".
constexpr rlim_t kCpuSeconds = 10;
constexpr rlim_t kAddressSpaceBytes = rlim_t(4) << 30;

// The reason stays on one line whatever the path holds.
std::string Printable(const char* s)
{
    std::string out;
    for (; *s; ++s)
        out += static_cast<unsigned char>(*s) < 0x20 || *s == 0x7f ? '?' : *s;
    return out;
}

int Fail(const char* path, const char* reason)
{
    std::fprintf(stderr, "md: %s: %s\n", Printable(path).c_str(), reason);
    return 1;
}

// Symbolic links in the folder are resolved, as the pictures' file:// URLs will be.
std::string FolderOf(const char* path)
{
    std::string dir(path);
    const size_t slash = dir.find_last_of('/');
    if (slash == std::string::npos)
        dir = ".";
    else
        dir.resize(slash == 0 ? 1 : slash);
    char resolved[PATH_MAX];
    return realpath(dir.c_str(), resolved) ? std::string(resolved) : std::string();
}

void Lower(int resource, rlim_t soft, rlim_t hard)
{
    struct rlimit r;
    if (getrlimit(resource, &r) != 0)
        return;
    r.rlim_cur = std::min(r.rlim_cur, soft);
    r.rlim_max = std::max(r.rlim_cur, std::min(r.rlim_max, hard));
    setrlimit(resource, &r);
}

void LimitThisProcess()
{
    Lower(RLIMIT_CORE, 0, 0);
    signal(SIGXCPU, SIG_DFL);
    Lower(RLIMIT_CPU, kCpuSeconds, kCpuSeconds + 1); // SIGXCPU, then SIGKILL a second later
#ifndef MD_SANITIZED                                 // the sanitizers' shadow memory takes terabytes of address space
    Lower(RLIMIT_AS, kAddressSpaceBytes, RLIM_INFINITY);
#endif
}

bool WriteAll(const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
}

// A page cut here starts with the cut marker once, whether the converter cut it again or not.
std::string Marked(const std::string& note, std::string html)
{
    const size_t marker = std::strlen(mdconvert::kCutMarker);
    if (!note.empty() && html.compare(0, marker, mdconvert::kCutMarker) == 0)
        html.erase(0, marker);
    return note + html;
}

std::string Page(const std::string& markdown, const std::string& folder, const std::string& note)
{
    return Marked(note, mdconvert::ConvertMarkdownToHtml(markdown, folder));
}

// A page cut here has its notice first: it is written whole.
std::string FirstPart(const std::string& markdown, const std::string& folder, const std::string& note)
{
    return note.empty() ? mdconvert::ConvertLeadingBlocks(markdown, folder, kFirstPartBytes) : std::string();
}

// All of size bytes through read or write, across interruptions and short counts.
template <typename Byte, typename Call>
bool TransferAll(int fd, Byte* data, size_t size, Call call)
{
    while (size > 0) {
        const ssize_t n = call(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool SendAll(int fd, const char* data, size_t size) { return TransferAll(fd, data, size, ::write); }

bool ReceiveAll(int fd, char* data, size_t size) { return TransferAll(fd, data, size, ::read); }

// A text sent as its length and its bytes.
bool SendText(int fd, const std::string& text)
{
    const uint64_t size = text.size();
    return SendAll(fd, reinterpret_cast<const char*>(&size), sizeof size) && SendAll(fd, text.data(), text.size());
}

bool ReceiveText(int fd, std::string& text)
{
    uint64_t size = 0;
    if (!ReceiveAll(fd, reinterpret_cast<char*>(&size), sizeof size) || size > kMaxFormattedBytes * 16)
        return false;
    text.resize(size);
    return ReceiveAll(fd, &text[0], text.size());
}

// What follows a first part already written: the rest of the page, or the page to show instead.
std::string Continuation(const std::string& first, const std::string& page)
{
    if (first.empty())
        return page;
    if (page.compare(0, first.size(), first) == 0)
        return page.substr(first.size());
    return mdconvert::kWholeMarker + page;
}

enum class Outcome { Written, WriteFailed, ConversionFailed, NoChild };

// The child converts and hands its texts over a pipe; only this process writes the output, so
// that a child ended half-way leaves no half page there.
Outcome ConvertInChild(const std::string& markdown, const std::string& folder, const std::string& note,
                       std::string& firstWritten)
{
    int texts[2];
    if (pipe2(texts, O_CLOEXEC) != 0)
        return Outcome::NoChild;
    const pid_t pid = fork();
    if (pid < 0) {
        close(texts[0]);
        close(texts[1]);
        return Outcome::NoChild;
    }
    if (pid == 0) {
        close(texts[0]);
        LimitThisProcess();
        const bool sent =
            SendText(texts[1], FirstPart(markdown, folder, note)) && SendText(texts[1], Page(markdown, folder, note));
        _exit(sent ? 0 : 1);
    }
    close(texts[1]);
    std::string first, page;
    bool converted = ReceiveText(texts[0], first);
    const bool firstOut =
        !converted || first.empty() || WriteAll(mdconvert::kFirstMarker + first + mdconvert::kThenMarker);
    if (converted && firstOut)
        firstWritten = first;
    converted = converted && firstOut && ReceiveText(texts[0], page);
    close(texts[0]);
    if (!converted)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!firstOut)
        return Outcome::WriteFailed;
    if (!converted)
        return Outcome::ConversionFailed;
    return WriteAll(Continuation(first, page)) ? Outcome::Written : Outcome::WriteFailed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: md FILE\n");
        return 2;
    }
    const char* path = argv[1];

    // Non-blocking, so that a FIFO given for a file cannot hang us before the check below.
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Fail(path, std::strerror(errno));
    struct stat st;
    if (fstat(fd, &st) != 0)
        return Fail(path, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Fail(path, "not a regular file");

    // One byte past the limit tells whether there is more.
    std::string markdown;
    markdown.reserve(std::min(static_cast<size_t>(st.st_size), kMaxFormattedBytes) + 1);
    char buffer[1 << 16];
    while (markdown.size() <= kMaxFormattedBytes) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, kMaxFormattedBytes + 1 - markdown.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(path, std::strerror(errno));
        if (n == 0)
            break;
        markdown.append(buffer, static_cast<size_t>(n));
    }
    close(fd);

    std::string note;
    if (markdown.size() > kMaxFormattedBytes) {
        const size_t lineEnd = markdown.find_last_of("\r\n", kMaxFormattedBytes - 1);
        markdown.resize(lineEnd == std::string::npos ? kMaxFormattedBytes : lineEnd + 1);
        note = mdconvert::kCutMarker;
    }

    const std::string folder = FolderOf(path);
    std::string firstWritten;
    switch (ConvertInChild(markdown, folder, note, firstWritten)) {
    case Outcome::Written:
        return 0;
    case Outcome::WriteFailed:
        return Fail("standard output", "write failed");
    case Outcome::NoChild:
        if (!WriteAll(Page(markdown, folder, note)))
            return Fail("standard output", std::strerror(errno));
        return 0;
    case Outcome::ConversionFailed:
        break;
    }
    std::fprintf(stderr, "md: %s: too large or complex to format, shown as plain text\n", Printable(path).c_str());
    if (!WriteAll(Continuation(firstWritten, Marked(note, mdconvert::PlainTextAsHtml(markdown)))))
        return Fail("standard output", std::strerror(errno));
    return 0;
}
