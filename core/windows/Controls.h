#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace kvt::windows {

// A control made with its name in the window as its objectName, by which tests and readers
// find it.
template<class Widget>
Widget *named(QWidget *parent, const char *name) {
    auto *widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A label that names its field for screen readers and takes its mnemonic to it.
inline QLabel *buddyLabel(QWidget *parent, const char *name, QWidget *buddy) {
    auto *label = named<QLabel>(parent, name);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace kvt::windows
