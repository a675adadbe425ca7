#pragma once

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "html/chtmlmanager.h"
#include "html/chtmlwnd.h"
#include "../writefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A folder by its real path (the page's checks compare real paths): doc/red.png for documents in
// doc/, and a picture outside it, also reached from doc/ through a link.
class HtmlWnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dir = QFileInfo(tmp.path()).canonicalFilePath();
        ASSERT_TRUE(QDir().mkpath(dir + "/doc"));
        ASSERT_TRUE(Solid(Qt::red, {40, 40}).save(dir + "/doc/red.png"));
        ASSERT_TRUE(Solid(Qt::blue, {40, 40}).save(dir + "/secret.png"));
        ASSERT_TRUE(QFile::link(dir + "/secret.png", dir + "/doc/link-out.png"));
    }

    QTemporaryDir tmp;
    QString dir;
};

// What the preview window writes before it lets the viewer load.
inline void SetCurrentMarkdown(const QString& path, int subType = ST_MARKDOWN)
{
    CGlobalData& data = CGlobalData::Instance();
    data.SetPath(QFileInfo(path).absoluteFilePath());
    data.SetMainType(MT_MARKDOWN);
    data.SetSubType(subType);
}

// The viewer on `converter` (a stand-in script passing the file through puts raw HTML on the page).
inline std::unique_ptr<CHtmlWnd> Viewer(const QString& converter)
{
    auto wnd = std::make_unique<CHtmlWnd>(nullptr, converter);
    wnd->resize(750, 600);
    wnd->show();
    QCoreApplication::processEvents(); // its delayed set-up
    return wnd;
}

struct Shown {
    int loaded = 0;
    int errors = 0;
};

// Loads `doc` into the viewer and waits for its outcome.
inline Shown Show(CHtmlWnd& wnd, const QString& doc)
{
    SetCurrentMarkdown(doc);
    QSignalSpy loaded(&wnd, &CAbstractWnd::SigLoaded);
    QSignalSpy errors(&wnd, &CAbstractWnd::SigErr);
    wnd.StartLoading();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty() || !errors.isEmpty(); }, 120000));
    // Whatever the page would still fetch, and a second report, would come now.
    QTest::qWait(500);
    return {int(loaded.count()), int(errors.count())};
}
