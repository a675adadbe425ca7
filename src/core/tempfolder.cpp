#include "core/tempfolder.h"

#include <QCoreApplication>
#include <QStandardPaths>

QString TempFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QLatin1Char('/') +
           QCoreApplication::translate("main", "Vuel") + QLatin1Char('/');
}
