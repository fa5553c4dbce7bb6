#include "app/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace {

// Stands for the icon `style` gives for `standardIcon`, asking for it only when first needed.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap standardIcon,
                       const QWidget* widget)
        : m_style(style)
        , m_standardIcon(standardIcon)
        , m_widget(widget) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    // QIcon::pixmap asks for `size` = its size × `scale`; the real icon gets the same request.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    DeferredIconEngine(const DeferredIconEngine&) = default;

    QIcon& icon() {
        if (!m_icon)
            m_icon = m_style ? m_style->standardIcon(m_standardIcon, nullptr, m_widget) : QIcon();
        return *m_icon;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_standardIcon;
    QPointer<const QWidget> m_widget;
    std::optional<QIcon> m_icon;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(const QString& key)
    : QProxyStyle(key) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                      const QWidget* widget) const {
    // The overflow button asks without an option; an option would have to be kept.
    if (standardIcon != SP_ToolBarHorizontalExtensionButton || option)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    return QIcon(new DeferredIconEngine(baseStyle(), standardIcon, widget));
}
