// The about window's pages and links are driven in the real program by settings_window.sh;
// here, only what a window test cannot reach.
#include "about/caboutwnd.h"

#include "cconfirmdlg/cconfirmdlg.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(CAboutWnd, DeletedBeforeItsDeferredSetupRuns)
{
    auto host = CConfirmDlg::CreateDialog<CAboutWnd>("About", false).first;
    delete host;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}
