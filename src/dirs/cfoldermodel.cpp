#include "dirs/cfoldermodel.h"

CFolderModel::CFolderModel(QFileIconProvider* icons, QObject* parent) : QFileSystemModel(parent)
{
    setIconProvider(icons);
    setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    connect(this, &QFileSystemModel::directoryLoaded, this,
            [this](const QString& path) { m_rootRead = m_rootRead || path == rootPath(); });
}
