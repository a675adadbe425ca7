#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

// Content of the about window: program, version and credits, plus a support page that is
// left through a "Back" button living in the host dialog's bottom bar.
class CAboutWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CAboutWnd(QWidget* parent = nullptr);
    ~CAboutWnd() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void SlotDeferredSetup();
    void SlotBackClicked();

private:
    struct Form;
    void BuildForm();
    QWidget* BuildFirstPage();
    QWidget* BuildSupportPage();
    QWidget* BuildLibraryGroup();
    QWidget* BuildAuthorGroup();
    void ShowSupportPage();

    QPointer<QPushButton> m_backButton; // owned by the host's bottom bar once placed there
    Form* m_ui;
};
