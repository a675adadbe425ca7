#pragma once

#include "cglobaldata/csuffixtables.h"
#include "cglobaldata/plugintable.h"

#include <QAtomicInt>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QRect>
#include <QString>

// The process-wide registry: suffix tables, plug-in table and the preview in progress.
// Loader jobs read the preview fields from worker threads; every read gives either the old
// or the new value.
class CGlobalData
{
public:
    static CGlobalData& Instance();

    QString Path() const;
    void SetPath(const QString& path);
    int MainType() const { return m_mainType.loadAcquire(); }
    void SetMainType(int type) { m_mainType.storeRelease(type); }
    int SubType() const { return m_subType.loadAcquire(); }
    void SetSubType(int type) { m_subType.storeRelease(type); }

    // A lexer the content type chose where the file type has none; read on the GUI thread only.
    const QString& Lexer() const { return m_lexer; }
    void SetLexer(const QString& lexer) { m_lexer = lexer; }

    // The available area of the screen the preview is on, empty before the first.
    QRect ScreenArea() const
    {
        QMutexLocker lock(&m_pathMutex);
        return m_screenArea;
    }
    void SetScreenArea(const QRect& area)
    {
        QMutexLocker lock(&m_pathMutex);
        m_screenArea = area;
    }

    const CSuffixTables& Suffixes() const { return m_suffixes; }
    void RebuildSuffixTables() { m_suffixes = CSuffixTables(); }

    const QList<PluginRecord>& Plugins() const { return m_plugins; }
    void SetPlugins(const QList<PluginRecord>& plugins) { m_plugins = plugins; }
    static QString PluginTablePath();

    CGlobalData(const CGlobalData&) = delete;
    CGlobalData& operator=(const CGlobalData&) = delete;

private:
    CGlobalData();

    QAtomicInt m_mainType{0};
    QAtomicInt m_subType{0};
    mutable QMutex m_pathMutex;
    QString m_path;
    QString m_lexer;
    QRect m_screenArea;
    QList<PluginRecord> m_plugins;
    CSuffixTables m_suffixes;
};
