#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace kvt::test {

// The controls a user acts on, found by walking the window's accessible tree as a screen
// reader does, that have no accessible name: each as "role objectName".
inline QStringList unnamedControls(QWidget &window) {
    static const QList<QAccessible::Role> interactive = {
        QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::List,
        QAccessible::Table,      QAccessible::Tree,         QAccessible::SpinBox,
        QAccessible::Slider,     QAccessible::ButtonMenu,   QAccessible::PageTab,
    };
    QStringList unnamed;
    QList<QAccessibleInterface *> pending{QAccessible::queryAccessibleInterface(&window)};
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        if (!node)
            continue;
        if (interactive.contains(node->role()) && !node->state().invisible
            && node->text(QAccessible::Name).trimmed().isEmpty()) {
            const QObject *object = node->object();
            unnamed << QStringLiteral("%1 %2")
                           .arg(node->role())
                           .arg(object ? object->objectName() : QStringLiteral("?"));
        }
        for (int i = 0; i < node->childCount(); ++i)
            pending << node->child(i);
    }
    return unnamed;
}

} // namespace kvt::test
