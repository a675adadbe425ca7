#pragma once

#include "dirs/comdata.h"

#include <QList>
#include <QStandardItem>

#include <functional>

// Top-level rows of five cells whose first cells own the subtrees. Items without a model are
// plain data: they may be built on one thread and attached to a model on another.
using ListingRows = QList<QList<QStandardItem*>>;

// The entries of a SortListing'ed box as a tree of five-cell rows (name, size, packed, ratio,
// time). Folders the archive leaves out are made up, dated as the first entry found inside
// them. When `stopped` says so, the rows built so far are freed and none are returned.
ListingRows BuildListingRows(const Databox& sorted, const std::function<bool()>& stopped = {});
