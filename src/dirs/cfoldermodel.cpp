#include "dirs/cfoldermodel.h"

CFolderModel::CFolderModel(QFileIconProvider* icons, QObject* parent) : QFileSystemModel(parent)
{
    setIconProvider(icons);
    setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    connect(this, &QFileSystemModel::directoryLoaded, this,
            [this](const QString& path) { m_rootRead = m_rootRead || path == rootPath(); });
    connect(this, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
        if (filePath(parent) == rootPath()) // the folders above it come in whatever happens to its reader
            m_sinceRows.start();
    });
    m_readLimit.setSingleShot(true);
    m_readLimit.setInterval(ReadLimitMs);
    connect(&m_readLimit, &QTimer::timeout, this, &CFolderModel::CheckProgress);
}

void CFolderModel::ReadRoot(const QString& path)
{
    setRootPath(path);
    if (!m_rootRead)
        m_readLimit.start();
}

// A big folder on a slow share may take longer and still come: it is given another bound.
void CFolderModel::CheckProgress()
{
    if (m_rootRead)
        return;
    if (MayHoldItsEnd())
        emit SigTooSlow(rootPath());
    else
        m_readLimit.start();
}

bool CFolderModel::MayHoldItsEnd() const
{
    constexpr qint64 kQuietMs = 500; // a reader that gets anywhere brings rows more often
    return !m_rootRead && (!m_sinceRows.isValid() || m_sinceRows.elapsed() > kQuietMs);
}
