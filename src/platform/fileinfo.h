#pragma once

#include <QIcon>
#include <QString>

// What the desktop knows about a file: its type's name, its icon and the
// program that opens it. The name decides, with `folder` as the file system said: asking it
// here may wait for ever on a share that stopped answering.
struct AssociatedProgram {
    QString executable; // absolute path where it can be found, else the command word
    QString name;       // the program's display name
    QIcon icon;
    bool IsValid() const { return !executable.isEmpty(); }
};

QString ShellTypeName(const QString& path, bool folder);
QIcon ShellFileIcon(const QString& path, bool folder);
AssociatedProgram FindAssociatedProgram(const QString& path, bool folder);

// Whether the file lives on a kernel file system (/proc, /sys, debugfs, …): such files claim to be
// regular, yet a read may wait for ever (/proc/kmsg) or never end.
bool IsKernelFile(const QString& path);

// Loads the type database, the icon theme and the application list, so that the first
// preview does not wait for them.
void WarmShellCaches();
