#pragma once

#include <QWidget>

#include <utility>
#include <vector>

class QCheckBox;

// Ten check boxes, one per boolean setting; reloaded from the store whenever shown.
class CSettingsWnd4General : public QWidget
{
    Q_OBJECT
public:
    explicit CSettingsWnd4General(QWidget* parent = nullptr);
    ~CSettingsWnd4General() override;

private slots:
    void WriteAutorun();
    void UpdateSettings();

public slots:
    void WriteSettings();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Form;
    void BuildForm();
    // Setting key and its box, in the order the store is read and written.
    std::vector<std::pair<const char*, QCheckBox*>> Bindings() const;

    Form* m_ui;
};
