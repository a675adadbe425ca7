#include "cconfirmdlg/cconfirmdlg.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `action` once the dialog's modal loop is running, and returns exec()'s answer.
int ExecWhile(CConfirmDlg& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(250, &dialog, action);
    bool stuck = false;
    QTimer::singleShot(10000, &dialog, [&] { // the dialog did not close: never hang the suite
        stuck = true;
        dialog.done(0);
    });
    const int answer = dialog.exec();
    EXPECT_FALSE(stuck);
    EXPECT_FALSE(dialog.isVisible());
    return answer;
}

QPushButton* Button(CConfirmDlg& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }

} // namespace

TEST(CConfirmDlg, ExecAnswersHowTheDialogWasClosed)
{
    const struct {
        const char* how;
        std::function<void(CConfirmDlg&)> close;
        int answer;
    } cases[] = {
        {"ok", [](CConfirmDlg& d) { Button(d, "pushButton_ok")->click(); }, 1},
        {"cancel", [](CConfirmDlg& d) { Button(d, "pushButton_cancel")->click(); }, 0},
        {"title-bar close", [](CConfirmDlg& d) { Button(d, "pushButton_close")->click(); }, 0},
        {"esc",
         [](CConfirmDlg& d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&d, &esc);
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        CConfirmDlg dialog("Question");
        EXPECT_EQ(ExecWhile(dialog, [&] { c.close(dialog); }), c.answer);
    }
}

TEST(CConfirmDlg, OkWithoutClosingOnlyConfirmsOnce)
{
    CConfirmDlg dialog("Question");
    QSignalSpy confirmed(&dialog, &CConfirmDlg::SigConfirmed);
    dialog.SetCloseOnOk(false);
    bool openAfterFirst = false;
    const int answer = ExecWhile(dialog, [&] {
        Button(dialog, "pushButton_ok")->click();
        openAfterFirst = dialog.isVisible();
        Button(dialog, "pushButton_ok")->click();
    });
    EXPECT_TRUE(openAfterFirst);
    EXPECT_EQ(confirmed.count(), 2);
    EXPECT_EQ(answer, 1);
}
