#include "platform/compositing.h"

// Desktop composition is always on since Windows 8.
bool IsCompositing() { return true; }
