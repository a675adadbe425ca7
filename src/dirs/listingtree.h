#pragma once

#include "dirs/comdata.h"

#include <QVector>

#include <functional>

// One row of the listing: its record carries the name shown, the last part of its path (the
// whole path at the top).
struct ListingNode {
    ComData record;
    int parent = -1; // index among the tree's nodes, -1 at the top
    int row = 0;     // among its parent's children
    QVector<int> children;
};

struct ListingTree {
    QVector<ListingNode> nodes;
    QVector<int> top;
};

Q_DECLARE_METATYPE(ListingTree)

// The entries of a SortListing'ed box as a tree. Folders the archive leaves out are made up,
// dated as the first entry found inside them. Plain data, so that it is built off the GUI
// thread; an empty tree when stopped() turns true (asked every few thousand entries).
ListingTree BuildListingTree(const Databox& sorted, const std::function<bool()>& stopped = {});
