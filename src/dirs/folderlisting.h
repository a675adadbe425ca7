#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

// One item of a folder, as the folder view shows it.
struct FolderEntry {
    QString name;
    qint64 size = 0; // 0 for a folder
    QDateTime modified; // UTC
    bool isDir = false;
};

// Folders first, then names in the collation of the user's language, whatever their case
// (and "file2" before "file10" where the collator knows numbers).
void SortFolderEntries(QVector<FolderEntry>& entries);

// Every item of the folder, hidden ones too, sorted. Reads the disk, so it runs off the GUI
// thread; nothing when stopped() turns true (asked every thousand or so items).
QVector<FolderEntry> ListFolder(const QString& path, const std::function<bool()>& stopped = {});
