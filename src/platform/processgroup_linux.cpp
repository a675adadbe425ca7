#include "platform/processgroup.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void PlaceInOwnProcessGroup()
{
    ::setpgid(0, 0);
    // Vuel killed or crashed must not leave a lister reading a pipe for ever.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void KillProcessGroup(qint64 leaderPid)
{
    if (leaderPid > 0)
        ::kill(-static_cast<pid_t>(leaderPid), SIGKILL);
}
