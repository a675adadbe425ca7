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

// A row as the file and the plug-ins page hold it: name, suffixes, command, each one string.
using PluginRow = QStringList;

// Rows of the wrong shape and documents that are not arrays give nothing; never fails.
QList<PluginRecord> ParsePluginTable(const QByteArray& json);

// "plugins.settings": missing is normal, unreadable or oversized is logged and empty.
QList<PluginRecord> ReadPluginTable(const QString& path);

// The record a row stands for, split the way the reader splits it.
PluginRecord PluginRecordFromRow(const PluginRow& row);
QList<PluginRecord> PluginRecordsFromRows(const QList<PluginRow>& rows);
// The row a record is shown and saved as: suffixes three blanks apart, command words one.
PluginRow PluginRowOf(const PluginRecord& plugin);

// The indented JSON document of the rows; cells a row lacks are written empty.
QByteArray FormatPluginTable(const QList<PluginRow>& rows);

// Truncates and rewrites the file; false when it cannot be opened or fully written.
bool WritePluginTable(const QString& path, const QList<PluginRow>& rows);

// The first record that can run for the suffix (compared case-insensitively), or null.
const PluginRecord* PluginFor(const QList<PluginRecord>& plugins, const QString& suffix);
