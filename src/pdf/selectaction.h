#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidgetAction>

class QComboBox;

// A combo box as an action; the state lives here so that it holds without any widget.
class SelectAction : public QWidgetAction
{
    Q_OBJECT
public:
    explicit SelectAction(QObject* parent = nullptr);
    void setItems(const QStringList& items);
    QStringList items() const;
    void setCurrentIndex(int index);
    int currentIndex() const;
    void setEditable(bool editable);

public slots:
    void selectCurrentItem();

signals:
    void triggered(const QString& text);

protected:
    QWidget* createWidget(QWidget* parent) override; // a QComboBox
    // Text shown in the boxes' edit fields (editable boxes) or of the current item.
    void setCurrentText(const QString& text);
    QString currentText() const;
    QList<QComboBox*> comboBoxes() const;

private:
    void fillComboBox(QComboBox* box) const;
    void showCurrent(QComboBox* box) const;
    void hookLineEdit(QComboBox* box);
    void onBoxActivated(QComboBox* box, int index);
    void onBoxEdited(QComboBox* box, const QString& text);

    QStringList m_items;
    int m_currentIndex = -1;
    QString m_currentText;
    bool m_editable = false;
    QList<QPointer<QComboBox>> m_boxes;
};
