#pragma once

#include <QHash>
#include <QObject>

#include "pdf/pdfview.h"

class BookmarksHandler;
class QAction;
class QActionGroup;
class QMenu;
class SelectPageAction;
class ZoomAction;

// The actions of a PdfView, made on first request; they follow the view through its signals.
class ActionHandler : public QObject
{
    Q_OBJECT
public:
    enum Action {
        NoAction = -1,
        ZoomIn = 0,
        ZoomOut,
        Zoom,
        GoToStartOfDocument,
        GoToEndOfDocument,
        GoToPreviousPage,
        GoToNextPage,
        GoToPage,
        Bookmarks,
        SetBookmark,
        PreviousBookmark,
        NextBookmark,
        Print,
        MouseToolBrowse,
        MouseToolMagnify,
        MouseToolSelection,
        MouseToolTextSelection,
        ShowForms
    };
    Q_ENUM(Action)

    explicit ActionHandler(PdfView* view);
    QAction* action(Action id);

public slots:
    void openPageSelector(); // pops up the page selector of a visible tool bar

private:
    QAction* existingAction(Action id) const;
    QAction* createAction(Action id);
    QAction* createViewAction(const QString& text, const QString& objectName, void (PdfView::*slot)());
    QAction* createMouseToolAction(const QString& text, const QString& objectName, PdfView::MouseTool tool);
    ZoomAction* createZoomAction();
    SelectPageAction* createPageSelector();
    BookmarksHandler* bookmarksHandler();
    bool hasDocument() const;
    void onDocumentChanged(const QString& fileName);
    void onPageChanged(int page);
    void checkMouseTool(PdfView::MouseTool tool);
    void addZoomActions(QMenu* menu);

    PdfView* m_view;
    QHash<int, QAction*> m_actions;
    QActionGroup* m_mouseTools = nullptr;
    ZoomAction* m_zoomAction = nullptr;
    SelectPageAction* m_pageSelector = nullptr;
    BookmarksHandler* m_bookmarksHandler = nullptr;
};
