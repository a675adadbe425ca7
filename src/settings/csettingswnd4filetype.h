#pragma once

#include <QMap>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;

// The suffixes the previewer handles, by group: search, own text suffixes, office on or off.
class CSettingsWnd4FileType : public QWidget
{
    Q_OBJECT
public:
    explicit CSettingsWnd4FileType(QWidget* parent = nullptr);
    ~CSettingsWnd4FileType() override;

    // Asks the user for a file; tests put their own answer here.
    static std::function<QString(QWidget* parent, const QString& title)> s_askOpenFile;

signals:
    void SigShowInfoText(QString suf);

public slots:
    void WriteSettings();

private slots:
    void on_lineEdit_search_textChanged(QString arg1);
    void on_pushButton_add_text_clicked();
    void on_pushButton_remove_text_clicked();
    void on_checkBox_office_clicked(bool checked);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Form;
    void BuildForm();
    void FillGroups();
    void ShowList(QLabel* label, const QStringList& suffixes);
    bool IsKnownSuffix(const QString& suffix) const;

    QStringList m_newSuffixes;
    QMap<QLabel*, QStringList> m_groupSuffixes;
    Form* m_ui;
};
