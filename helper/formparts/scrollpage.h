#pragma once

class QScrollArea;
class QVBoxLayout;
class QWidget;

// A settings page is a scroll area filling the page, whose contents the page fills in.
struct ScrollPage {
    QVBoxLayout* verticalLayout; // the page's own layout
    QScrollArea* scrollArea;
    QWidget* scrollAreaWidgetContents;
    QVBoxLayout* verticalLayout_contents; // fill this
};

ScrollPage BuildScrollPage(QWidget* page);
