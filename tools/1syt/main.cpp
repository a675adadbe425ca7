// 1syt INPUT OUTPUT.pdf: converts an office document to PDF with LibreOffice headless.
//
// LibreOffice runs in the process group of 1syt, so a caller that kills that group kills
// LibreOffice too; 1syt's own clean-up (time limit, SIGTERM, SIGINT, SIGHUP) kills its
// descendants in that group and nothing else. When 1syt shares its caller's group instead of
// leading one, LibreOffice gets a group of its own, so that no clean-up can reach the caller.
// A watchdog kills LibreOffice and removes the temporary files should 1syt die without cleaning
// up (SIGKILL to 1syt or to its group).

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "offline.h"

namespace {

enum ExitCode {
    kOk = 0,
    kConversionFailed = 1,
    kUsage = 2,
    kBadInput = 3,
    kNoLibreOffice = 4,
    kTimedOut = 5,
    kSystemError = 6,
};

constexpr double kDefaultTimeoutSeconds = 120.0;

int g_signalPipe[2] = {-1, -1};

// Everything the clean-up needs, whatever the point at which it runs.
struct Run {
    std::string workDir;
    std::string partPath;
    pid_t office = -1;       // the direct child: the soffice script, then oosplash
    pid_t officeGroup = -1;  // LibreOffice's process group
    bool leadsGroup = false; // 1syt leads its group, and LibreOffice stays in it
    pid_t watchdog = -1;
    int watchdogPipe = -1;
    std::string profileUrl;
    std::string plannedPart;
    int lockFd = -1;
};

Run g_run;

[[noreturn]] void Fail(int code, const std::string& reason);

// ---- small pure helpers ----------------------------------------------------------------------

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string Suffix(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : Lower(name.substr(dot + 1));
}

std::string FileUrl(const std::string& absPath)
{
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absPath) {
        if (std::isalnum(c) || std::strchr("/-._~", c))
            url += static_cast<char>(c);
        else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

bool StartsWith(const std::string& s, const char* prefix, size_t n)
{
    return s.size() >= n && std::memcmp(s.data(), prefix, n) == 0;
}

bool LooksLikeText(const std::string& head)
{
    size_t controls = 0;
    for (unsigned char c : head) {
        if (c == 0)
            return false;
        if (c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            ++controls;
    }
    return controls * 100 <= head.size();
}

enum class Container { Any, Zip, OleOrText };

Container ExpectedContainer(const std::string& suffix)
{
    static const char* zip[] = {"docx", "docm", "dotx", "dotm", "xlsx", "xlsm", "xltx", "xltm", "pptx", "pptm",
                                "potx", "potm", "ppsx", "ppsm", "vsdx", "vsdm", "vstx", "vstm", "vssx", "vssm",
                                "odt",  "ott",  "ods",  "ots",  "odp",  "otp",  "odg",  "otg",  "odf"};
    static const char* ole[] = {"doc", "dot", "xls", "xlt", "xlw", "ppt", "pot", "pps", "vsd", "vss", "vst"};
    for (const char* s : zip)
        if (suffix == s)
            return Container::Zip;
    for (const char* s : ole)
        if (suffix == s)
            return Container::OleOrText;
    return Container::Any;
}

// LibreOffice reads whatever it cannot recognise as plain text, so random bytes named .docx
// would "convert"; the container a suffix promises is checked here instead.
bool ContentFitsSuffix(const std::string& suffix, const std::string& head, const std::string& tail)
{
    switch (ExpectedContainer(suffix)) {
    case Container::Any:
        return true;
    case Container::Zip:
        return StartsWith(head, "PK\x03\x04", 4) &&
               (tail.find("[Content_Types].xml") != std::string::npos ||
                tail.find("META-INF/manifest.xml") != std::string::npos || tail.find("mimetype") != std::string::npos);
    case Container::OleOrText:
        return StartsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) || LooksLikeText(head);
    }
    return true;
}

double TimeoutSeconds()
{
    const char* env = std::getenv("VUEL_1SYT_TIMEOUT");
    if (!env || !*env)
        return kDefaultTimeoutSeconds;
    char* end = nullptr;
    const double v = std::strtod(env, &end);
    return (end && *end == '\0' && v > 0 && std::isfinite(v)) ? v : kDefaultTimeoutSeconds;
}

double Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// ---- files -----------------------------------------------------------------------------------

std::string AbsolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    std::vector<char> buf(4096);
    while (!getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE)
            Fail(kSystemError, "cannot read the current folder");
        buf.resize(buf.size() * 2);
    }
    return std::string(buf.data()) + "/" + path;
}

bool ReadAt(int fd, off_t offset, size_t n, std::string& out)
{
    out.assign(n, '\0');
    size_t got = 0;
    while (got < n) {
        const ssize_t r = pread(fd, &out[got], n - got, offset + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        if (r == 0)
            break;
        got += static_cast<size_t>(r);
    }
    out.resize(got);
    return true;
}

void CheckInput(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        Fail(kBadInput, "input not found: " + path);
    if (!S_ISREG(st.st_mode))
        Fail(kBadInput, "input is not a regular file: " + path);
    if (st.st_size == 0)
        Fail(kBadInput, "input is empty: " + path);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(kBadInput, "input cannot be read: " + path + ": " + std::strerror(errno));
    const off_t tailSize = std::min<off_t>(st.st_size, 4 << 20);
    std::string head, tail;
    const bool ok = ReadAt(fd, 0, 4096, head) && ReadAt(fd, st.st_size - tailSize, tailSize, tail);
    close(fd);
    if (!ok)
        Fail(kBadInput, "input cannot be read: " + path);
    if (!ContentFitsSuffix(Suffix(path), head, tail))
        Fail(kBadInput, "input is not a valid ." + Suffix(path) + " document: " + path);
}

bool IsExecutable(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindOffice()
{
    if (const char* env = std::getenv("VUEL_1SYT_SOFFICE"))
        return IsExecutable(env) ? env : std::string();
    if (const char* path = std::getenv("PATH")) {
        std::string dirs = path;
        size_t start = 0;
        while (start <= dirs.size()) {
            const size_t end = std::min(dirs.find(':', start), dirs.size());
            const std::string dir = dirs.substr(start, end - start);
            if (!dir.empty() && IsExecutable(dir + "/soffice"))
                return dir + "/soffice";
            start = end + 1;
        }
    }
    for (const char* p : {"/usr/lib/libreoffice/program/soffice", "/opt/libreoffice/program/soffice"})
        if (IsExecutable(p))
            return p;
    return std::string();
}

bool MakeDirs(const std::string& path)
{
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/')
            continue;
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

void RemoveTree(const std::string& path)
{
    if (path.empty())
        return;
    nftw(
        path.c_str(),
        [](const char* p, const struct stat*, int, FTW*) {
            (void)::remove(p);
            return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
}

std::string CacheDir()
{
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.cache";
    return std::string();
}

// The shared profile makes every conversion after the first one quicker; a second 1syt running
// at the same time takes a throw-away profile rather than waiting for the first.
std::string ChooseProfile()
{
    const std::string cache = CacheDir();
    if (!cache.empty() && MakeDirs(cache + "/Vuel")) {
        const std::string lock = cache + "/Vuel/lo-profile.lock";
        const int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            g_run.lockFd = fd;
            return cache + "/Vuel/lo-profile";
        }
        if (fd >= 0)
            close(fd);
    }
    return g_run.workDir + "/profile";
}

std::string FindPdf(const std::string& dir)
{
    std::string found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (Suffix(name) == "pdf")
                found = dir + "/" + name;
        }
        closedir(d);
    }
    return found;
}

bool CopyFile(const std::string& from, const std::string& to)
{
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = out >= 0;
    char buf[1 << 16];
    while (ok) {
        const ssize_t r = read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            ok = r == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < r;) {
            const ssize_t w = write(out, buf + done, static_cast<size_t>(r - done));
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += w;
        }
    }
    close(in);
    if (out >= 0 && close(out) != 0)
        ok = false;
    return ok;
}

// ---- processes -------------------------------------------------------------------------------

void OnSignal(int sig)
{
    const int saved = errno;
    const unsigned char b = static_cast<unsigned char>(sig);
    if (write(g_signalPipe[1], &b, 1) < 0) {
    }
    errno = saved;
}

void InstallSignals()
{
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        Fail(kSystemError, "cannot create a pipe");
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD})
        sigaction(sig, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void ResetSignalsInChild()
{
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD, SIGPIPE})
        signal(sig, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

struct ProcInfo {
    pid_t pid;
    pid_t ppid;
    pid_t pgrp;
    bool alive;
};

std::string ReadProcFile(const std::string& pid, const char* file)
{
    std::string text;
    const int fd = open(("/proc/" + pid + "/" + file).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    if (!ReadAt(fd, 0, 8192, text))
        text.clear();
    close(fd);
    return text;
}

std::vector<ProcInfo> ReadProcesses()
{
    std::vector<ProcInfo> procs;
    DIR* d = opendir("/proc");
    if (!d)
        return procs;
    while (dirent* e = readdir(d)) {
        char* end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end)
            continue;
        const std::string stat = ReadProcFile(e->d_name, "stat");
        const auto paren = stat.rfind(')');
        char state = 0;
        int ppid = 0, pgrp = 0;
        if (paren != std::string::npos && std::sscanf(stat.c_str() + paren + 1, " %c %d %d", &state, &ppid, &pgrp) == 3)
            procs.push_back({static_cast<pid_t>(pid), ppid, pgrp, state != 'Z' && state != 'X'});
    }
    closedir(d);
    return procs;
}

bool DescendsFrom(pid_t pid, pid_t ancestor, const std::vector<ProcInfo>& procs)
{
    for (int depth = 0; depth < 64 && pid > 1; ++depth) {
        const auto it = std::find_if(procs.begin(), procs.end(), [pid](const ProcInfo& p) { return p.pid == pid; });
        if (it == procs.end())
            return false;
        if (it->ppid == ancestor)
            return true;
        pid = it->ppid;
    }
    return false;
}

// The live members of `group` that belong to this conversion: descendants of 1syt (it is their
// subreaper, so orphans stay descendants) or, when `marker` is given, processes whose command
// line holds it. Another member of the group (the other end of a shell pipeline) is left alone.
std::vector<pid_t> OfficeMembers(pid_t group, const std::string& marker)
{
    std::vector<pid_t> members;
    const auto procs = ReadProcesses();
    for (const auto& p : procs) {
        if (p.pgrp != group || !p.alive || p.pid == getpid())
            continue;
        const bool ours = marker.empty()
                              ? DescendsFrom(p.pid, getpid(), procs)
                              : ReadProcFile(std::to_string(p.pid), "cmdline").find(marker) != std::string::npos;
        if (ours)
            members.push_back(p.pid);
    }
    return members;
}

void ReapChildren()
{
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

// Kills the members until none is left; a killed process starts nothing more. The rounds also
// wait until the last one is really gone, so that nothing of LibreOffice outlives 1syt.
void KillMembers(pid_t group, const std::string& marker)
{
    for (int round = 0; group > 0 && round < 1000; ++round) {
        const auto members = OfficeMembers(group, marker);
        if (members.empty())
            break;
        for (pid_t p : members)
            kill(p, SIGKILL);
        ReapChildren();
        usleep(10000);
    }
}

void KillOffice()
{
    const pid_t group = g_run.officeGroup;
    if (group > 0 && !g_run.leadsGroup)
        kill(-group, SIGKILL);
    if (g_run.office > 0)
        kill(g_run.office, SIGKILL);
    KillMembers(group, std::string());
    if (g_run.office > 0)
        waitpid(g_run.office, nullptr, 0);
    if (g_run.watchdog > 0) {
        kill(g_run.watchdog, SIGKILL);
        waitpid(g_run.watchdog, nullptr, 0);
        close(g_run.watchdogPipe);
        g_run.watchdogPipe = -1;
    }
    g_run.office = g_run.watchdog = g_run.officeGroup = -1;
    ReapChildren();
}

void CleanUp()
{
    KillOffice();
    if (!g_run.partPath.empty())
        unlink(g_run.partPath.c_str());
    RemoveTree(g_run.workDir);
    if (g_run.lockFd >= 0)
        close(g_run.lockFd);
    g_run = Run();
}

void Fail(int code, const std::string& reason)
{
    std::fprintf(stderr, "1syt: %s\n", reason.c_str());
    CleanUp();
    std::exit(code);
}

[[noreturn]] void DieOfSignal(int sig)
{
    std::fprintf(stderr, "1syt: stopped by signal %d\n", sig);
    CleanUp();
    signal(sig, SIG_DFL);
    raise(sig);
    _exit(128 + sig);
}

void CloseAllBut(int keep)
{
    const long max = std::min(sysconf(_SC_OPEN_MAX), 65536L);
    for (int fd = 3; fd < max; ++fd)
        if (fd != keep)
            close(fd);
}

void NullStdio()
{
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd)
        dup2(null, fd);
    if (null > 2)
        close(null);
}

// Sends the watchdog a message: 'G' and LibreOffice's process group, or 'D' before the output
// is written.
void TellWatchdog(char what, pid_t group = 0)
{
    char msg[1 + sizeof group];
    msg[0] = what;
    std::memcpy(msg + 1, &group, sizeof group);
    if (g_run.watchdogPipe >= 0 && write(g_run.watchdogPipe, msg, sizeof msg) < 0) {
    }
}

[[noreturn]] void WatchOver(int pipeFd)
{
    pid_t group = -1;
    bool delivering = false;
    char msg[1 + sizeof group];
    size_t got = 0;
    for (;;) {
        const ssize_t r = read(pipeFd, msg + got, sizeof msg - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        got += static_cast<size_t>(r);
        if (got < sizeof msg)
            continue;
        got = 0;
        if (msg[0] == 'G')
            std::memcpy(&group, msg + 1, sizeof group);
        else if (msg[0] == 'D')
            delivering = true;
    }
    if (group > 0 && !g_run.leadsGroup)
        kill(-group, SIGKILL);
    // 1syt's own group may hold more than LibreOffice; the profile in the command line tells.
    KillMembers(group,
                g_run.leadsGroup ? "-env:UserInstallation=" + g_run.profileUrl : std::string("-env:UserInstallation="));
    RemoveTree(g_run.workDir);
    if (delivering)
        unlink(g_run.plannedPart.c_str());
    _exit(0);
}

// The watchdog lives in a group of its own, so that it outlives a kill of 1syt's group: when
// 1syt ends without cleaning up (its end of the pipe closes), it kills LibreOffice's group and
// removes the temporary files.
void StartWatchdog()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        Fail(kSystemError, "cannot create a pipe");
    const pid_t pid = fork();
    if (pid < 0)
        Fail(kSystemError, "cannot fork");
    if (pid == 0) {
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            signal(sig, SIG_IGN);
        signal(SIGCHLD, SIG_DFL);
        setpgid(0, 0);
        NullStdio();
        CloseAllBut(fds[0]);
        WatchOver(fds[0]);
    }
    setpgid(pid, pid);
    g_run.watchdog = pid;
    g_run.watchdogPipe = fds[1];
    close(fds[0]);
}

void StartOffice(const std::string& office, const std::string& outDir, const std::string& input, int outputFd)
{
    const std::vector<std::string> args = {office,
                                           "--headless",
                                           "--norestore",
                                           "--nologo",
                                           "--nodefault",
                                           "--nolockcheck",
                                           "-env:UserInstallation=" + g_run.profileUrl,
                                           "--convert-to",
                                           "pdf",
                                           "--outdir",
                                           outDir,
                                           input};
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        Fail(kSystemError, "cannot fork");
    if (pid == 0) {
        ResetSignalsInChild();
        if (!g_run.leadsGroup)
            setpgid(0, 0);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(outputFd, 1);
        dup2(outputFd, 2);
        setenv("SAL_USE_VCLPLUGIN", "svp", 1);
        setenv("TMPDIR", (g_run.workDir + "/tmp").c_str(), 1);
        LeaveNetwork(); // where the system refuses, the profile's setting still holds
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (!g_run.leadsGroup)
        setpgid(pid, pid);
    g_run.office = pid;
    g_run.officeGroup = g_run.leadsGroup ? getpgrp() : pid;
    TellWatchdog('G', g_run.officeGroup);
}

// LibreOffice's own complaint ("Error: source file could not be loaded"), for the reason line.
std::string OfficeError(const std::string& output)
{
    const auto pos = output.rfind("Error");
    if (pos == std::string::npos)
        return std::string();
    const auto end = output.find('\n', pos);
    return ": " + output.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

void DrainInto(int fd, std::string& sink)
{
    char buf[4096];
    ssize_t r;
    while ((r = read(fd, buf, sizeof buf)) > 0) {
        sink.append(buf, static_cast<size_t>(r));
        if (sink.size() > 65536)
            sink.erase(0, sink.size() - 65536);
    }
}

// Runs LibreOffice to its end; returns its wait status.
int WaitForOffice(int outputFd, double timeout, std::string& output)
{
    const double deadline = Now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(g_run.office, &status, WNOHANG);
        if (r == g_run.office) {
            g_run.office = -1;
            DrainInto(outputFd, output);
            return status;
        }
        const double left = deadline - Now();
        if (left <= 0) {
            KillOffice();
            char text[64];
            std::snprintf(text, sizeof text, "%g", timeout);
            Fail(kTimedOut, std::string("LibreOffice did not finish within ") + text + " s");
        }
        pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {outputFd, POLLIN, 0}};
        const int ms = static_cast<int>(std::min(left * 1000.0 + 1, 1000.0));
        if (poll(fds, 2, ms) < 0 && errno != EINTR)
            Fail(kSystemError, "poll failed");
        if (fds[1].revents)
            DrainInto(outputFd, output);
        unsigned char sig;
        while (read(g_signalPipe[0], &sig, 1) == 1)
            if (sig != SIGCHLD)
                DieOfSignal(sig);
    }
}

void Deliver(const std::string& pdf, const std::string& output)
{
    std::string head;
    const int fd = open(pdf.c_str(), O_RDONLY | O_CLOEXEC);
    const bool read = fd >= 0 && ReadAt(fd, 0, 5, head);
    if (fd >= 0)
        close(fd);
    if (!read || head.empty())
        Fail(kConversionFailed, "LibreOffice wrote an empty PDF");
    if (head != "%PDF-")
        Fail(kConversionFailed, "LibreOffice wrote something that is not a PDF");
    TellWatchdog('D');
    g_run.partPath = output + ".part";
    if (rename(pdf.c_str(), g_run.partPath.c_str()) != 0 && !CopyFile(pdf, g_run.partPath))
        Fail(kSystemError, "cannot write " + g_run.partPath + ": " + std::strerror(errno));
    if (rename(g_run.partPath.c_str(), output.c_str()) != 0)
        Fail(kSystemError, "cannot write " + output + ": " + std::strerror(errno));
    g_run.partPath.clear();
    struct stat st {};
    if (stat(output.c_str(), &st) != 0 || st.st_size == 0)
        Fail(kConversionFailed, "the PDF is missing after the move: " + output);
}

std::string MakeWorkDir()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/1syt-XXXXXX";
    if (!mkdtemp(&templ[0]))
        Fail(kSystemError, "cannot create a temporary folder: " + std::string(std::strerror(errno)));
    return templ;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || !*argv[1] || !*argv[2]) {
        std::fprintf(stderr, "usage: 1syt INPUT OUTPUT.pdf\n");
        return kUsage;
    }
    InstallSignals();
#ifdef __linux__
    prctl(PR_SET_CHILD_SUBREAPER, 1);
#endif
    const std::string input = AbsolutePath(argv[1]);
    const std::string output = AbsolutePath(argv[2]);
    CheckInput(input);
    const std::string office = FindOffice();
    if (office.empty())
        Fail(kNoLibreOffice, "LibreOffice (soffice) not found");

    g_run.workDir = MakeWorkDir();
    const std::string outDir = g_run.workDir + "/out";
    if (mkdir(outDir.c_str(), 0700) != 0 || mkdir((g_run.workDir + "/tmp").c_str(), 0700) != 0)
        Fail(kSystemError, "cannot create the folders in " + g_run.workDir);
    g_run.plannedPart = output + ".part";
    const std::string profile = ChooseProfile();
    if (!BlockExternalLinks(profile))
        Fail(kSystemError, "cannot write the LibreOffice profile in " + profile);
    g_run.profileUrl = FileUrl(profile);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        Fail(kSystemError, "cannot create a pipe");
    g_run.leadsGroup = getpgrp() == getpid();
    StartWatchdog();
    StartOffice(office, outDir, input, pipeFds[1]);
    close(pipeFds[1]);
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);

    std::string officeOutput;
    const int status = WaitForOffice(pipeFds[0], TimeoutSeconds(), officeOutput);
    KillOffice();
    close(pipeFds[0]);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127 && FindPdf(outDir).empty())
        Fail(kNoLibreOffice, "cannot run " + office);
    const std::string pdf = FindPdf(outDir);
    if (pdf.empty())
        Fail(kConversionFailed, "LibreOffice produced no PDF" + OfficeError(officeOutput));
    Deliver(pdf, output);
    CleanUp();
    return kOk;
}
