#include "pdf/bookmarkshandler.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <algorithm>

#include "pdf/filesettings.h"

namespace {

const char kBookmarksKey[] = "Bookmarks";

bool SamePosition(qreal a, qreal b) { return qAbs(a - b) < 1e-6; }

QAction* CreateAction(const QString& text, const QString& objectName, const QKeySequence& shortcut,
                      const QString& statusTip, const QString& whatsThis, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    action->setStatusTip(statusTip);
    action->setWhatsThis(whatsThis);
    return action;
}

QList<qreal> ReadPositions(const QVariant& value)
{
    QList<qreal> positions;
    for (const QString& text : value.toStringList()) {
        bool ok = false;
        const qreal position = text.toDouble(&ok);
        if (ok && qIsFinite(position) && position >= 0)
            positions << position;
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

} // namespace

BookmarksHandler::BookmarksHandler(QWidget* parent) : QObject(parent)
{
    createActions();
    rebuildMenu();
}

BookmarksHandler::~BookmarksHandler() { delete m_menu; }

QAction* BookmarksHandler::menuAction() const { return m_menu->menuAction(); }

QAction* BookmarksHandler::toggleAction() const { return m_toggleAction; }

QAction* BookmarksHandler::previousAction() const { return m_previousAction; }

QAction* BookmarksHandler::nextAction() const { return m_nextAction; }

void BookmarksHandler::loadBookmarks(const QString& documentPath)
{
    m_documentPath = documentPath;
    m_bookmarks = ReadPositions(FileSettings(documentPath).value(kBookmarksKey));
    rebuildMenu();
    updateToggleText();
}

void BookmarksHandler::saveBookmarks(const QString& documentPath)
{
    FileSettings settings(documentPath);
    if (m_bookmarks.isEmpty()) {
        settings.remove(kBookmarksKey);
    } else {
        QVariantList values;
        for (qreal position : m_bookmarks)
            values << position;
        settings.setValue(kBookmarksKey, values);
    }
    settings.sync();
}

void BookmarksHandler::clear()
{
    m_documentPath.clear();
    m_bookmarks.clear();
    rebuildMenu();
    updateToggleText();
}

void BookmarksHandler::setCurrentPosition(qreal position)
{
    m_currentPosition = position;
    updateToggleText();
}

QList<qreal> BookmarksHandler::bookmarks() const { return m_bookmarks; }

void BookmarksHandler::toggleBookmark()
{
    const int index = indexAt(m_currentPosition);
    if (index >= 0) {
        m_bookmarks.removeAt(index);
    } else {
        m_bookmarks << m_currentPosition;
        std::sort(m_bookmarks.begin(), m_bookmarks.end());
    }
    rebuildMenu();
    updateToggleText();
    if (!m_documentPath.isEmpty())
        saveBookmarks(m_documentPath);
    emit bookmarkUpdated(m_currentPosition);
}

void BookmarksHandler::goToActionBookmark()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (action && action->data().isValid())
        emit goToPosition(action->data().toReal());
}

void BookmarksHandler::goToPreviousBookmark()
{
    for (int i = m_bookmarks.size() - 1; i >= 0; --i) {
        const qreal position = m_bookmarks.at(i);
        if (position < m_currentPosition && !SamePosition(position, m_currentPosition)) {
            emit goToPosition(position);
            return;
        }
    }
}

void BookmarksHandler::goToNextBookmark()
{
    for (qreal position : qAsConst(m_bookmarks)) {
        if (position > m_currentPosition && !SamePosition(position, m_currentPosition)) {
            emit goToPosition(position);
            return;
        }
    }
}

void BookmarksHandler::createActions()
{
    m_menu = new QMenu(tr("&Bookmarks"));
    m_toggleAction = CreateAction(tr("Set &Bookmark"), QStringLiteral("pdfview_bookmarks_set"),
                                  QKeySequence(Qt::CTRL | Qt::Key_B), tr("Set or unset a bookmark at the current line"),
                                  tr("<p>Set or unset a bookmark at the current line.</p>"), this);
    m_previousAction = CreateAction(tr("&Previous Bookmark"), QStringLiteral("pdfview_bookmarks_prev"),
                                    QKeySequence(Qt::ALT | Qt::Key_Up), tr("Go to the previous bookmark"),
                                    tr("<p>Go to the previous bookmark.</p>"), this);
    m_nextAction = CreateAction(tr("&Next Bookmark"), QStringLiteral("pdfview_bookmarks_next"),
                                QKeySequence(Qt::ALT | Qt::Key_Down), tr("Go to the next bookmark"),
                                tr("<p>Go to the next bookmark.</p>"), this);
    connect(m_toggleAction, &QAction::triggered, this, &BookmarksHandler::toggleBookmark);
    connect(m_previousAction, &QAction::triggered, this, &BookmarksHandler::goToPreviousBookmark);
    connect(m_nextAction, &QAction::triggered, this, &BookmarksHandler::goToNextBookmark);
}

void BookmarksHandler::updateToggleText()
{
    m_toggleAction->setText(indexAt(m_currentPosition) >= 0 ? tr("Unset &Bookmark") : tr("Set &Bookmark"));
}

void BookmarksHandler::rebuildMenu()
{
    for (QAction* action : m_menu->actions()) {
        m_menu->removeAction(action);
        if (action->parent() == m_menu)
            delete action;
    }
    m_menu->addAction(m_toggleAction);
    m_menu->addAction(m_previousAction);
    m_menu->addAction(m_nextAction);
    m_menu->addSeparator();
    for (qreal position : qAsConst(m_bookmarks)) {
        QAction* entry = m_menu->addAction(tr("Page %1").arg(int(position) + 1));
        entry->setData(position);
        connect(entry, &QAction::triggered, this, &BookmarksHandler::goToActionBookmark);
    }
}

int BookmarksHandler::indexAt(qreal position) const
{
    for (int i = 0; i < m_bookmarks.size(); ++i) {
        if (SamePosition(m_bookmarks.at(i), position))
            return i;
    }
    return -1;
}
