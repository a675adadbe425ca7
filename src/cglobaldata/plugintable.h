#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One row of the user's plug-in table.
struct PluginRecord {
    QString name;
    QStringList suffixes; // without dots
    QStringList command;  // program, then its leading arguments
};

// Rows of the wrong shape and documents that are not arrays give nothing; never fails.
QList<PluginRecord> ParsePluginTable(const QByteArray& json);

// "plugins.settings": missing is normal, unreadable or oversized is logged and empty.
QList<PluginRecord> ReadPluginTable(const QString& path);
