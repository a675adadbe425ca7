#pragma once

#include "dirs/comdata.h"

// The output of "7za l": one entry per line between the two column separators.
Databox ParseZipLine(const QString& output);

// The output of "unrar v": a name line, then a line of nine fields, per entry. A details line
// that does not fit yields an empty listing.
Databox ParseRarLine(const QString& output);

// A tar inside a compression filter: 7-Zip would list the one inner .tar, not its members.
bool IsCompressedTarball(const QString& fileName);

// Shorter names first, so that a folder comes before what it holds; stable.
void SortListing(Databox& box);
