#include "platform/contenttype.h"

// Every previewable file has a suffix here.
bool KnowsContentTypes() { return false; }

QStringList ContentTypeChain(const QString&) { return {}; }
