#include "pdf/zoomaction.h"

#include <QComboBox>
#include <QLocale>

#include "pdf/zoomtext.h"

ZoomAction::ZoomAction(QObject* parent) : SelectAction(parent)
{
    setEditable(true);
    setToolTip(tr("Select or insert zoom factor here"));
    setWhatsThis(tr("<p>Select the zoom factor here.  "
                    "Alternatively, you can also introduce a zoom factor and press Enter.</p>"));
    refreshItems();
    connect(this, &SelectAction::triggered, this, QOverload<const QString&>::of(&ZoomAction::setZoomFactor));
}

void ZoomAction::setMinZoomFactor(qreal zoom)
{
    m_minZoom = zoom;
    refreshItems();
}

void ZoomAction::setMaxZoomFactor(qreal zoom)
{
    m_maxZoom = zoom;
    refreshItems();
}

qreal ZoomAction::zoomFactor() const { return m_zoom; }

void ZoomAction::setZoomFactor(qreal zoom)
{
    m_zoom = zoom;
    refreshItems();
}

void ZoomAction::setZoomFactor(const QString& zoomFactorText)
{
    const qreal zoom = ParseZoomText(zoomFactorText, m_minZoom, m_maxZoom, QLocale());
    setZoomFactor(zoom);
    emit zoomFactorAdded(zoom);
}

QWidget* ZoomAction::createWidget(QWidget* parent)
{
    QWidget* box = SelectAction::createWidget(parent);
    box->setToolTip(toolTip());
    box->setWhatsThis(whatsThis());
    return box;
}

void ZoomAction::refreshItems()
{
    const QLocale locale;
    setItems(ZoomSelectorTexts(m_zoom, m_minZoom, m_maxZoom, locale));
    setCurrentText(ZoomPercentText(m_zoom * 100, locale));
}
