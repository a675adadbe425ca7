#pragma once

#include <QByteArray>
#include <QString>

// An SVG draws pictures named by its <image> elements, and the toolkit reads whatever path or
// address they name: a FIFO that blocks for ever, a file outside the folder, the network. These
// give the toolkit an SVG that names only data: pictures and regular files in the SVG's own
// folder (as absolute paths, since it is read from memory). Comments, processing instructions and
// the DTD go; entities arrive expanded. Empty where the XML does not parse.
QByteArray SvgWithLocalImagesOnly(const QByteArray& svg, const QString& folder);

// The href an <image> may keep: itself for data:, the absolute path of a regular file inside
// `folder`, empty for anything else.
QString AllowedSvgImage(const QString& href, const QString& folder);

// The gzip stream `bytes` inflated, empty where it is broken or would pass `limit` bytes.
QByteArray GunzipBounded(const QByteArray& bytes, qint64 limit);
