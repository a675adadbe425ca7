#include "cglobaldata/cglobaldata.h"

#include "platform/helperprograms.h"

#include <QMutexLocker>

CGlobalData& CGlobalData::Instance()
{
    static CGlobalData data;
    return data;
}

// Members build the suffix tables first; the plug-in table is read after them.
CGlobalData::CGlobalData() { m_plugins = ReadPluginTable(PluginTablePath()); }

QString CGlobalData::PluginTablePath() { return ::PluginTablePath(); }

QString CGlobalData::Path() const
{
    QMutexLocker lock(&m_pathMutex);
    return m_path;
}

void CGlobalData::SetPath(const QString& path)
{
    QMutexLocker lock(&m_pathMutex);
    m_path = path;
}
