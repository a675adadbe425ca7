#pragma once

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "viewers/cabstractwnd.h"
#include "writefile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QObject>
#include <QSignalSpy>
#include <QSize>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

// How one load of a viewer ended, as the preview window learns it.
struct Outcome {
    bool loaded = false;
    bool failed = false;
    QSize size;
    QString err;
};

// Makes `path` the shown item, as the preview window does before it loads a viewer.
inline void PointAt(const QString& path)
{
    CGlobalData& data = CGlobalData::Instance();
    const bool folder = QFileInfo(path).isDir();
    data.SetPath(path);
    data.SetMainType(data.Suffixes().GetMainType(path, folder));
    data.SetSubType(data.Suffixes().GetSubType(path, folder));
}

// Loads `path` into the viewer and waits for its loaded or error signal.
inline Outcome LoadInto(CAbstractWnd* wnd, const QString& path)
{
    PointAt(path);
    QSignalSpy loaded(wnd, &CAbstractWnd::SigLoaded), failed(wnd, &CAbstractWnd::SigErr);
    wnd->StartLoading();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty() || !failed.isEmpty(); }, 60000)) << qPrintable(path);
    return {!loaded.isEmpty(), !failed.isEmpty(), wnd->GetSize(), wnd->Manager()->m_err};
}

// Runs `start` and waits for the first viewer inside `window` to report loaded: its kind, or -1.
inline int LoadedKind(QWidget* window, const std::function<void()>& start)
{
    int kind = -1;
    QEventLoop loop; // the connections end with it
    for (CAbstractWnd* viewer : window->findChildren<CAbstractWnd*>())
        QObject::connect(viewer, &CAbstractWnd::SigLoaded, &loop, [&kind, &loop, viewer] {
            if (kind < 0)
                kind = viewer->GetWndType();
            loop.quit();
        });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit); // against a hang only
    start();
    if (kind < 0)
        loop.exec();
    return kind;
}

// Whether a helper program still runs with `marker` in its command line.
inline bool Running(const QString& marker)
{
    return !RunToEnd(QStringLiteral("pgrep"), {QStringLiteral("-f"), marker}).out.isEmpty();
}
