#pragma once

#include <QProxyStyle>

// The style named `key` (as QStyleFactory knows it), unchanged but for the icon of a menu
// bar's overflow button. Qt asks for that icon as it builds each menu bar, and the style
// reads it from a picture file, which, for the first picture of a process, loads and queries
// every image format plug-in installed. The button shows only when a menu bar is too narrow
// for its menus, so this style hands over an icon that asks for the real one when it is first
// drawn or measured.
class DeferredIconStyle : public QProxyStyle {
public:
    explicit DeferredIconStyle(const QString& key);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;
};
