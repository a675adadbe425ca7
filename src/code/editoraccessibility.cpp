#include "code/editoraccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface* PlainEditorAccessible(const QString&, QObject* object)
{
    if (QAccessible::isActive() || !object || !object->inherits("QsciScintillaBase"))
        return nullptr; // the next factory decides
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

} // namespace

void UsePlainEditorAccessibilityWhileInactive()
{
    QAccessible::installFactory(PlainEditorAccessible); // once: Qt keeps a factory only once
}
