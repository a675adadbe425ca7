#include "formparts/scrollpage.h"

#include "formparts/named.h"

#include <QScrollArea>
#include <QVBoxLayout>

ScrollPage BuildScrollPage(QWidget* page)
{
    ScrollPage parts;
    parts.verticalLayout = Named<QVBoxLayout>("verticalLayout", page);
    parts.scrollArea = Named<QScrollArea>("scrollArea", page);
    parts.scrollArea->setWidgetResizable(true);
    parts.scrollAreaWidgetContents = Named<QWidget>("scrollAreaWidgetContents");
    parts.verticalLayout_contents = Named<QVBoxLayout>("verticalLayout_contents", parts.scrollAreaWidgetContents);
    parts.scrollArea->setWidget(parts.scrollAreaWidgetContents);
    parts.verticalLayout->addWidget(parts.scrollArea);
    return parts;
}
