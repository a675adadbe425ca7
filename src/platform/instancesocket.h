#pragma once

#include <QString>

// Full path of the single-instance socket named `name`, in a folder only this user can enter.
QString InstanceServerName(const QString& name);

constexpr int kInstanceLockHeld = -1;
constexpr int kInstanceLockUnavailable = -2;

// The lock the running instance holds for as long as it lives (the system lets go of it however
// the process ends), beside the socket `serverName`: a descriptor to keep open when this process
// now holds it, kInstanceLockHeld when a live process does, kInstanceLockUnavailable when there
// is no lock file to be had.
int TakeInstanceLock(const QString& serverName);
