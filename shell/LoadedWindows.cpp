#include "shell/LoadedWindows.h"

namespace {

QList<QPointer<QWidget>>& windows() {
    static QList<QPointer<QWidget>> loaded;
    return loaded;
}

} // namespace

void LoadedWindows::add(QWidget* window) {
    windows().append(window);
}

QList<QWidget*> LoadedWindows::inLoadOrder() {
    windows().removeAll(nullptr);
    QList<QWidget*> result;
    for (const QPointer<QWidget>& window : windows())
        result.append(window.data());
    return result;
}
