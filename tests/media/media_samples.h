#pragma once

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The folder make-media fills, once for the whole test program.
inline QString SampleMedia(const QString& name)
{
    static QTemporaryDir dir;
    static const bool made = [] {
        const int rc = QProcess::execute(QStringLiteral("bash"),
                                         {QStringLiteral(VUEL_SOURCE_DIR "/tests/media/make-media"), dir.path()});
        EXPECT_EQ(rc, 0) << "make-media failed";
        return rc == 0;
    }();
    Q_UNUSED(made);
    return dir.filePath(name);
}
