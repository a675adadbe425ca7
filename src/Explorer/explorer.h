#pragma once

#include "platform/accessiblelookup.h"

class PreviewerService;

// Where the focused item in the foreground file-manager window may be, or nothing. A window that
// reported its selection over the bus is taken at its word; the others are read through the
// accessibility bus.
FocusedItem GetThePath(const PreviewerService* service, Patience patience = Patience::Usual);
