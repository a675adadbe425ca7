#pragma once

#include <QIcon>
#include <QString>

// What the desktop knows about a file: its type's name, its icon and the
// program that opens it.
struct AssociatedProgram {
    QString executable; // absolute path where it can be found, else the command word
    QString name;       // the program's display name
    QIcon icon;
    bool IsValid() const { return !executable.isEmpty(); }
};

QString ShellTypeName(const QString& path);
QIcon ShellFileIcon(const QString& path);
AssociatedProgram FindAssociatedProgram(const QString& path);

// Whether the file lives on a kernel file system (/proc, /sys, debugfs, …): such files claim to be
// regular, yet a read may wait for ever (/proc/kmsg) or never end.
bool IsKernelFile(const QString& path);

// Loads the type database, the icon theme and the application list, so that the first
// preview does not wait for them.
void WarmShellCaches();
