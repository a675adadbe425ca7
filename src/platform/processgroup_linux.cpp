#include "platform/processgroup.h"

#include <csignal>
#include <unistd.h>

void PlaceInOwnProcessGroup() { ::setpgid(0, 0); }

void KillProcessGroup(qint64 leaderPid)
{
    if (leaderPid > 0)
        ::kill(-static_cast<pid_t>(leaderPid), SIGKILL);
}
