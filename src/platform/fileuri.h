#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes; Qt's strings hold only those that are valid in the locale's encoding.
// These carry the others as `file:` URIs and show them through a link with a decodable name.

// The path a `file:` URI names, as the bytes the system uses: empty for another scheme, another
// host than none or "localhost", a relative path, a NUL byte, or more than `maxLength` characters.
QByteArray LocalFileBytes(const QString& uri, int maxLength = 64 * 1024);

// `file://` and the absolute path's bytes percent-encoded: nothing is lost on the way.
QString FileUriOfBytes(const QByteArray& absolutePath);

// A path Qt can open for `path`: its decoded name when that encodes back to the same bytes,
// otherwise a link to it inside `standInFolder` (a private folder) that bears the decoded name.
// Empty when no link can be made.
QString OpenablePath(const QByteArray& path, const QString& standInFolder);

// Both above: a `file:` URI to an openable path, anything else unchanged.
QString OpenablePathOfArgument(const QString& arg, const QString& standInFolder);
