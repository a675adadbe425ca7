#include "core/tempfolder.h"

#include "platform/privatefolder.h"

#include <QCoreApplication>

QString TempFolder()
{
    // Decided once: where the usual name was planted, the unique folder taken instead must stay ours.
    static const QString folder = PrivateFolder(QCoreApplication::translate("main", "Vuel"));
    return folder.isEmpty() ? folder : folder + QLatin1Char('/');
}
