#pragma once

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QSharedPointer>
#include <QTemporaryDir>

#include "writefile.h"

#include <gtest/gtest.h>

// A file the script `maker` (a path under tests/) makes; each script runs once per test program.
inline QString MadeSample(const QString& maker, const QString& name)
{
    static QMap<QString, QSharedPointer<QTemporaryDir>> folders;
    QSharedPointer<QTemporaryDir>& dir = folders[maker];
    if (!dir) {
        dir.reset(new QTemporaryDir);
        const int rc =
            QProcess::execute(QStringLiteral("bash"), {QStringLiteral(VUEL_SOURCE_DIR "/tests/") + maker, dir->path()});
        EXPECT_EQ(rc, 0) << qPrintable(maker) << " failed";
    }
    return dir->filePath(name);
}

inline QString SamplePicture(const QString& name) { return MadeSample(QStringLiteral("picture/make-pictures"), name); }

inline QString SampleMedia(const QString& name) { return MadeSample(QStringLiteral("media/make-media"), name); }

inline QString SampleArchive(const QString& name) { return MadeSample(QStringLiteral("dirs/make-archives"), name); }

// What the fuzzer kept of `target` under tests/fuzz/regressions (scripts/fuzz), as name and bytes.
inline QList<QPair<QString, QByteArray>> FuzzFindings(const QString& target)
{
    QList<QPair<QString, QByteArray>> found;
    const QDir dir(QStringLiteral(VUEL_SOURCE_DIR "/tests/fuzz/regressions/") + target);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files))
        found.append({f.fileName(), ReadFile(f.filePath())});
    return found;
}
