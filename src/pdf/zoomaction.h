#pragma once

#include "pdf/selectaction.h"

// The editable zoom selector.
class ZoomAction : public SelectAction
{
    Q_OBJECT
public:
    explicit ZoomAction(QObject* parent = nullptr);
    void setMinZoomFactor(qreal zoom);
    void setMaxZoomFactor(qreal zoom);
    qreal zoomFactor() const;

public slots:
    void setZoomFactor(qreal zoom);                    // shows it, does not emit
    void setZoomFactor(const QString& zoomFactorText); // parses, shows, emits

signals:
    void zoomFactorAdded(qreal zoomFactor);

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    void refreshItems();

    qreal m_zoom = 1.0;
    qreal m_minZoom = 0.1;
    qreal m_maxZoom = 6.0;
};
