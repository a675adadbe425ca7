#pragma once

#include <QByteArray>
#include <QStringList>

// The single-instance message: one QStringList in QDataStream's layout (32-bit big-endian
// count; per string a 32-bit big-endian byte length, 0xFFFFFFFF for null, UTF-16BE units).
QByteArray EncodeArgumentList(const QStringList& args);

// Reads what any local peer sent: stops at the end of the data or at the first malformed
// string, and never allocates more than the message holds.
QStringList DecodeArgumentList(const QByteArray& message);
