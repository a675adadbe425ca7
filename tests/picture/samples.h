#pragma once

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The folder make-pictures fills, once for the whole test program.
inline QString SamplePicture(const QString& name)
{
    static QTemporaryDir dir;
    static const bool made = [] {
        const int rc = QProcess::execute(QStringLiteral("bash"),
                                         {QStringLiteral(VUEL_SOURCE_DIR "/tests/picture/make-pictures"), dir.path()});
        EXPECT_EQ(rc, 0) << "make-pictures failed";
        return rc == 0;
    }();
    Q_UNUSED(made);
    return dir.filePath(name);
}
