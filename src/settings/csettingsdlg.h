#pragma once

#include <QDialog>

class CSettingsWnd4FileType;
class CSettingsWnd4General;
class CSettingsWnd4Key;
class CSettingsWnd4Plugins;
class QButtonGroup;

// Measures of the application font at a given point size.
int FontLineHeight(int pointSize);
int FontTextWidth(const QString& text, int pointSize);

// Content of the settings window: page buttons on the left, the pages on the right.
// Pages other than General are created when first shown; only created pages are saved.
class CSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSettingsDlg(QWidget* parent = nullptr);
    ~CSettingsDlg() override;

public slots:
    void SaveSettings();

private slots:
    void SlotBtnGeneralClicked(bool arg);
    void on_pushButton_file_type_clicked(bool arg);
    void on_pushButton_plugins_clicked(bool checked);
    void on_pushButton_keyboard_clicked(bool checked);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Form;
    void BuildForm();
    void FitNavButtons();
    template <class Page>
    Page* CreatePage();
    void ShowDuplicateNotice(const QString& suf);

    QButtonGroup* m_navButtons;
    CSettingsWnd4General* m_generalPage = nullptr;
    CSettingsWnd4FileType* m_fileTypePage = nullptr;
    CSettingsWnd4Plugins* m_pluginsPage = nullptr;
    CSettingsWnd4Key* m_keyPage = nullptr;
    Form* m_ui;
};
