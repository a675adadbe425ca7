#pragma once

#include "dirs/comdata.h"

class QStandardItemModel;

// Appends the entries of a SortListing'ed box to the model's root as a tree of five-cell rows
// (name, size, packed, ratio, time). Folders the archive leaves out are made up, dated as the
// first entry found inside them.
void BuildListingTree(const Databox& sorted, QStandardItemModel* model);
