#pragma once

#include "cglobaldata/csuffixtables.h"

#include <vector>

class CAbstractWnd;
class QWidget;

struct ViewerKind {
    MainType kind;
    CAbstractWnd* (*create)(QWidget* parent);
};

// The viewers the preview window holds, one per kind. The information panel is not among
// them: it is the window's own fallback, there whatever this list holds.
std::vector<ViewerKind> ViewerKinds();
