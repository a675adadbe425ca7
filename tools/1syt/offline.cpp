#include "offline.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sched.h>
#endif

namespace {

const char kItemsEnd[] = "</oor:items>";
const char kBlockName[] = "oor:name=\"BlockUntrustedRefererLinks\"";
const char kBlockItem[] =
    "<item oor:path=\"/org.openoffice.Office.Common/Security/Scripting\"><prop oor:name=\"BlockUntrustedRefererLinks\""
    " oor:op=\"fuse\"><value>true</value></prop></item>\n";

std::string FreshFile()
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                       "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n") +
           kBlockItem + kItemsEnd + "\n";
}

// LibreOffice writes one item a line; the lines naming the setting go, whatever they say.
std::string WithoutBlockSetting(const std::string& xcu)
{
    std::istringstream in(xcu);
    std::string out, line;
    while (std::getline(in, line))
        if (line.find(kBlockName) == std::string::npos)
            out += line + "\n";
    return out;
}

bool WriteWhole(const std::string& path, const std::string& text)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush())
            return false;
    }
    return std::rename(part.c_str(), path.c_str()) == 0;
}

#ifdef __linux__
bool WriteProcFile(const char* path, const std::string& text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}
#endif

} // namespace

std::string WithExternalLinksBlocked(const std::string& xcu)
{
    std::string kept = WithoutBlockSetting(xcu);
    const auto end = kept.rfind(kItemsEnd);
    if (xcu.find("<oor:items") == std::string::npos || end == std::string::npos)
        return FreshFile();
    return kept.insert(end, kBlockItem);
}

bool BlockExternalLinks(const std::string& profileDir)
{
    const std::string user = profileDir + "/user";
    mkdir(profileDir.c_str(), 0700);
    mkdir(user.c_str(), 0700);
    const std::string path = user + "/registrymodifications.xcu";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream old;
    old << in.rdbuf();
    return WriteWhole(path, WithExternalLinksBlocked(old.str()));
}

bool LeaveNetwork()
{
#ifdef __linux__
    if (geteuid() == 0)
        return unshare(CLONE_NEWNET) == 0;
    const std::string uid = std::to_string(geteuid()), gid = std::to_string(getegid());
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    // The same user inside as outside, so that files keep their owner.
    WriteProcFile("/proc/self/setgroups", "deny");
    return WriteProcFile("/proc/self/uid_map", uid + " " + uid + " 1") &&
           WriteProcFile("/proc/self/gid_map", gid + " " + gid + " 1");
#else
    return false;
#endif
}
