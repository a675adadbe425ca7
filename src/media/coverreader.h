#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The embedded picture of an audio file's tags: the front cover when there is one, else the
// first picture. Empty or null when there is none, or it cannot be read.
QByteArray ReadCoverBytes(const QString& path);
QByteArray ReadCoverBytesFromData(const QByteArray& data, const QString& suffix); // suffix like "mp3"
QImage DecodeCover(const QByteArray& bytes); // null when not a picture, or absurdly large
QImage ReadCoverPicture(const QString& path);
