#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The program's windows that are loaded, shown or hidden, in the order they
// were loaded. A window joins when it is created and leaves when destroyed.
class OpenWindows {
public:
    static void add(QWidget* window);
    static QList<QWidget*> inCreationOrder();
};
