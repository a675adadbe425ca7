#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

// One archive entry as a lister prints it.
struct ComData {
    QString name;     // path inside the archive, as printed
    quint64 size = 0; // unpacked
    quint64 packed = 0;
    QString ratio;  // "45%" from unrar, "45.83%" computed for 7za
    QDateTime time; // local time
    bool isDir = false;
};

using Databox = QList<ComData>;

Q_DECLARE_METATYPE(Databox)

// Queued connections carry a Databox by this name; run once before the first one.
inline void RegisterDataboxMetaType() { qRegisterMetaType<Databox>("Databox"); }
