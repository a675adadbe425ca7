#pragma once

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "html/chtmlmanager.h"
#include "../writefile.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

// A stand-in converter: a shell script named md in `folder`.
inline QString WriteConverter(const QString& folder, const QByteArray& body, bool executable = true)
{
    const QString path = folder + "/md";
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// What the preview window writes before it lets the viewer load.
inline void SetCurrentMarkdown(const QString& path, int subType = ST_MARKDOWN)
{
    CGlobalData& data = CGlobalData::Instance();
    data.SetPath(QFileInfo(path).absoluteFilePath());
    data.SetMainType(MT_MARKDOWN);
    data.SetSubType(subType);
}
