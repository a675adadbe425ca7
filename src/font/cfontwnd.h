#pragma once

#include "viewers/cabstractwnd.h"

class CFontSpecimenView;
class QLineEdit;
class QScrollArea;

// The font viewer: a specimen page, with the sample sentence editable in the control bar so that
// a user can check the font on their own language.
class CFontWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CFontWnd(QWidget* parent = nullptr);

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_FONT; }
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;

protected slots:
    void PerformFinished(QVariant v) override;

private:
    CFontSpecimenView* m_view;
    QScrollArea* m_scroll;
    QLineEdit* m_sentence = nullptr;
};
