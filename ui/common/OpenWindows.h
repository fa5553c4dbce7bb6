#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The program's windows, shown or hidden, in the order they were created. A window
// joins when it is created and leaves when it is deleted.
class OpenWindows {
public:
    static void add(QWidget* window);
    static QList<QWidget*> inCreationOrder();
};

// The one way the program ends: closes every open window in creation order and
// ends the process. `closing` is the window whose closing started it; it is
// not closed again, and no window closed here starts a second shutdown.
void shutDownApplication(QWidget* closing = nullptr);
