#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

// The bookmarks of one document: actions, menu and persistence.
class BookmarksHandler : public QObject
{
    Q_OBJECT
public:
    explicit BookmarksHandler(QWidget* parent);
    ~BookmarksHandler() override;
    QAction* menuAction() const;                     // "&Bookmarks"
    QAction* toggleAction() const;                   // "Set &Bookmark"/"Unset &Bookmark", Ctrl+B
    QAction* previousAction() const;                 // Alt+Up
    QAction* nextAction() const;                     // Alt+Down
    void loadBookmarks(const QString& documentPath); // per-file settings "Bookmarks"
    void saveBookmarks(const QString& documentPath);
    void clear();
    void setCurrentPosition(qreal position); // updates set/unset text
    QList<qreal> bookmarks() const;

public slots:
    void toggleBookmark();
    void goToActionBookmark();
    void goToPreviousBookmark();
    void goToNextBookmark();

signals:
    void bookmarkUpdated(qreal position);
    void goToPosition(qreal position);

private:
    void createActions();
    void updateToggleText();
    void rebuildMenu();
    int indexAt(qreal position) const;

    QMenu* m_menu = nullptr;
    QAction* m_toggleAction = nullptr;
    QAction* m_previousAction = nullptr;
    QAction* m_nextAction = nullptr;
    QList<qreal> m_bookmarks; // sorted
    qreal m_currentPosition = 0;
    QString m_documentPath; // saved to on every toggle; empty: nothing loaded
};
