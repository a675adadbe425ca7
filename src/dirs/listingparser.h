#pragma once

#include "dirs/comdata.h"

// The output of "7za l": one entry per line between the two column separators.
Databox ParseZipLine(const QString& output);

// The output of "unrar v": a name line, then a line of nine fields, per entry. A details line
// that does not fit yields an empty listing.
Databox ParseRarLine(const QString& output);

// Shorter names first, so that a folder comes before what it holds; stable.
void SortListing(Databox& box);
