#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Writes `bytes` to `path`, replacing what was there; returns the path.
inline QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

// Writes a shell script running `body` to `path`, runnable by its owner; returns the path.
inline QString WriteScript(const QString& path, const QByteArray& body)
{
    WriteFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Makes a FIFO at `path` (a reader waits on it for ever); returns the path.
inline QString MakeFifo(const QString& path)
{
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
    return path;
}

// The bytes of `path`; empty when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Finished {
    int exitCode; // -1 when the program crashed or did not start
    QByteArray out, err;
};

// Runs `program` in `folder` (by default the current one) to its end.
inline Finished RunToEnd(const QString& program, const QStringList& args, const QString& folder = QString())
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(-1)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// A picture of one colour.
inline QImage Solid(const QColor& colour, const QSize& size = {10, 10})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A small picture's PNG bytes.
inline QByteArray PngBytes()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Solid(Qt::darkCyan, {64, 48}).save(&buffer, "PNG");
    return buffer.data();
}
