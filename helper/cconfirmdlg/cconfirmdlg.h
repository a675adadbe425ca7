#pragma once

#include "cparentdlg/cparentdlg.h"

#include <QLabel>
#include <QVariant>
#include <utility>

class QPushButton;
class QTimer;

// OK/Cancel host for any content widget, and the program's message box.
class CConfirmDlg : public CParentDlg
{
    Q_OBJECT
public:
    CConfirmDlg(QString title, QWidget* parent = nullptr);

    void SetOkText(const QString& text);
    void SetCancelVisible(bool visible);
    void SetDefaultButton(int which); // 0: OK, 1: Cancel
    void SetCloseOnOk(bool close) { m_closeOnOk = close; }
    void ShowTip(const QString& text, int ms);

    // A parentless dialog around a new W; the content finds its dialog through the
    // dynamic property "CParentDlg".
    template <class W>
    static std::pair<CConfirmDlg*, W*> CreateDialog(const QString& title, bool deleteOnFinish);

    static bool ShowMessage(const QString& title, const QString& text, const QString& button, bool alert,
                            QWidget* parent);

signals:
    void SigConfirmed();

public slots:
    int exec() override;
    void SlotBtnOkClicked();

protected slots:
    void CloseWithAccepted();

private:
    void Bounce(int homeX);

    bool m_rejected = true;
    QLabel* m_tipLabel;
    QPushButton* m_cancelButton;
    QPushButton* m_okButton;
    QWidget* m_bottomBar;
    bool m_closeOnOk = true;
    QTimer* m_tipTimer = nullptr;
};

template <class W>
std::pair<CConfirmDlg*, W*> CConfirmDlg::CreateDialog(const QString& title, bool deleteOnFinish)
{
    auto* dialog = new CConfirmDlg(title, nullptr);
    if (deleteOnFinish)
        connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    auto* content = new W(dialog);
    dialog->SetContentWidget(content);
    content->setProperty("CParentDlg", QVariant::fromValue<QObject*>(dialog));
    return {dialog, content};
}
