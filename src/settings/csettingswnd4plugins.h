#pragma once

#include "cglobaldata/plugintable.h"

#include <QWidget>

class QStandardItemModel;

// Whether a row shows for a search text; the text is trimmed, an empty one shows every row.
bool RowMatchesSearch(const PluginRow& row, const QString& text);

// Lists the user's plug-ins, lets the user search, delete and add them, and saves the table.
class CSettingsWnd4Plugins : public QWidget
{
    Q_OBJECT
public:
    explicit CSettingsWnd4Plugins(QWidget* parent = nullptr);
    ~CSettingsWnd4Plugins() override;

public slots:
    void WriteSettings();

private slots:
    void on_pushButton_add_clicked();
    void on_pushButton_del_clicked();
    void on_lineEdit_search_textChanged(QString arg1);
    void on_pushButton_about_clicked(bool checked);

private:
    struct Form;
    void BuildForm();
    void SetUpTable();
    void AppendRow(const PluginRow& row);
    PluginRow Row(int row) const;
    QList<PluginRow> Rows() const;
    QList<PluginRecord> TakenSuffixes() const;
    void UpdateDelButton();

    QStandardItemModel* m_model;
    Form* m_ui;
};
