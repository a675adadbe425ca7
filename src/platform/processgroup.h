#pragma once

#include <QtGlobal>

// A helper program and everything it starts are ended together.
void PlaceInOwnProcessGroup();           // in the child, before the program runs; it ends with Vuel
void KillProcessGroup(qint64 leaderPid); // ends the group the leader made
