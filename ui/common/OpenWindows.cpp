#include "ui/common/OpenWindows.h"

#include "services/Platform.h"

namespace {

QList<QPointer<QWidget>>& windows() {
    static QList<QPointer<QWidget>> list;
    return list;
}

} // namespace

void OpenWindows::add(QWidget* window) {
    windows().append(window);
}

QList<QWidget*> OpenWindows::inCreationOrder() {
    windows().removeAll(nullptr);
    QList<QWidget*> result;
    for (const QPointer<QWidget>& window : windows())
        result.append(window.data());
    return result;
}

void shutDownApplication(QWidget* closing) {
    static bool shuttingDown = false;
    if (shuttingDown)
        return;
    shuttingDown = true;
    for (QWidget* window : OpenWindows::inCreationOrder()) {
        if (window != closing)
            window->close();
    }
    shuttingDown = false;
    platform().endProcess();
}
