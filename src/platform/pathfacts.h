#pragma once

#include <QDateTime>
#include <QString>

// What the file system tells of a path, taken at once. On a share that stopped answering even a
// stat never returns, so the window's thread gets these from a PathProbe and never asks itself.
struct PathFacts {
    enum class Kind { Missing, File, Folder, Other };

    QString path; // absolute, as asked
    Kind kind = Kind::Missing;
    bool link = false;
    QString linkTarget;
    qint64 size = 0;
    QDateTime created;
    QDateTime modified;
    QDateTime read;
    bool kernelFile = false; // claims to be regular, yet a read may wait for ever (/proc/kmsg)
    bool unanswered = false; // the file system did not answer in time: nothing above is known

    bool Exists() const { return kind != Kind::Missing; }
    bool IsFile() const { return kind == Kind::File; }
    bool IsFolder() const { return kind == Kind::Folder; }
    // A FIFO, a device or a kernel file: reading it may wait for ever.
    bool IsSpecial() const { return kind == Kind::Other || (kind == Kind::File && kernelFile); }
};

// Asks the file system: may wait for ever, so never on the window's thread.
PathFacts FactsOf(const QString& path);
// What is known of a path whose file system did not answer.
PathFacts UnansweredFacts(const QString& path);
// The path a request for `asked` previews, given the facts of what it resolves to: empty when
// there is nothing to show. A path whose file system did not answer is shown, with the reason.
QString PreviewTarget(const QString& asked, const PathFacts& shown, bool knowsContentTypes);
