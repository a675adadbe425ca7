#pragma once

#include "cglobaldata/plugintable.h"

#include <QWidget>

#include <functional>
#include <optional>

class CConfirmDlg;
class QLineEdit;

// The command a list of parameters makes: each trimmed, one blank after each, all trimmed.
QString CommandPreview(const QStringList& parameters);

// The owner of a suffix among the taken records (case-insensitive, the last owner wins);
// an empty name is the previewer itself. No value when the suffix is free.
std::optional<QString> SuffixOwner(const QList<PluginRecord>& taken, const QString& suffix);

// The form of the "Add Plugin" dialog: a unique name, related suffixes, start parameters.
class CSettingsWnd4PluginsAdd : public QWidget
{
    Q_OBJECT
public:
    explicit CSettingsWnd4PluginsAdd(QWidget* parent = nullptr);
    ~CSettingsWnd4PluginsAdd() override;

    void SetTaken(const QList<PluginRecord>& taken) { m_taken = taken; }
    PluginRecord GetPlugin() const;

    // Asks for the file whose suffix is added; replaceable so that no dialog has to be driven.
    static std::function<QString(QWidget* parent, QString title)> m_pickFile;

protected:
    bool event(QEvent* event) override;

private slots:
    void on_pushButton_add_clicked();
    void on_pushButton_del_clicked();
    void SlotParameterChanged();
    void SlotSelectionChanged();
    void on_lineEdit_name_textChanged(QString arg1);
    void on_pushButton_add_plugin_clicked();
    void on_pushButton_del_plugin_clicked();
    void on_lineEdit_name_editingFinished();

private:
    struct Form;
    void BuildForm();
    QWidget* BuildNameBox();
    QWidget* BuildSuffixBox();
    QWidget* BuildParameterBox();
    CConfirmDlg* Host() const;
    QList<QLineEdit*> ParameterEditors() const;
    void Validate();

    QList<PluginRecord> m_taken;
    Form* m_ui;
};
