#pragma once

#include <QWidget>

class QCheckBox;

// The modifiers of the trigger combination, and a reference card of the viewers' keys.
class CSettingsWnd4Key : public QWidget
{
    Q_OBJECT
public:
    explicit CSettingsWnd4Key(QWidget* parent = nullptr);
    ~CSettingsWnd4Key() override;

    void WriteSettings();

private:
    struct Form;
    void BuildForm();
    void ExtendCloseKeys();
    void UpdateTriggerTitle();

    Form* m_ui;
};
