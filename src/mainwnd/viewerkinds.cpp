#include "mainwnd/viewerkinds.h"

#include "code/ccodewnd.h"
#include "dirs/cdirwnd.h"
#include "font/cfontwnd.h"
#include "html/chtmlwnd.h"
#include "media/cmediawnd.h"
#include "pdf/cpdfwnd.h"
#include "picture/cpicwnd.h"

namespace {

template <class Viewer>
CAbstractWnd* Make(QWidget* parent)
{
    return new Viewer(parent);
}

} // namespace

// A new kind: its line here, its library in this folder's CMakeLists.txt.
std::vector<ViewerKind> ViewerKinds()
{
    return {
        {MT_MARKDOWN, &Make<CHtmlWnd>}, {MT_PICTURE, &Make<CPicWnd>},  {MT_DIR, &Make<CDirWnd>},
        {MT_MEDIA, &Make<CMediaWnd>},   {MT_DOCUMENT, &Make<CPdfWnd>}, {MT_TEXT, &Make<CCodeWnd>},
        {MT_FONT, &Make<CFontWnd>},
    };
}
