#include "ui/common/Panel.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kBorderGrey(128, 128, 128);

} // namespace

Panel::Panel(QWidget* parent)
    : QGroupBox(parent) {}

void Panel::setLook(const QColor& fill, int cornerRadius, QPoint captionAt) {
    m_fill = fill;
    m_cornerRadius = cornerRadius;
    m_captionAt = captionAt;
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    const qreal r = m_cornerRadius;
    // The caption's box is a space wider than its text, which is centred in it; the
    // border gives way to it where they meet.
    const QRect caption(m_captionAt,
                        QSize(fontMetrics().size(Qt::TextShowMnemonic, title() + u' ').width(),
                              fontMetrics().height()));
    const QRegion border = title().isEmpty() ? QRegion(rect()) : QRegion(rect()) - caption;
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal d = 2 * r - 1;
    if (r == 0) {
        painter.fillRect(rect(), m_fill);
    } else {
        // The fill's outline runs along the middle of the border line.
        QPainterPath outline;
        outline.moveTo(r, 0.5);
        outline.lineTo(w - r, 0.5);
        outline.arcTo(w - 2 * r + 0.5, 0.5, d, d, 90, -90);
        outline.lineTo(w - 0.5, h - r);
        outline.arcTo(w - 2 * r + 0.5, h - 2 * r + 0.5, d, d, 0, -90);
        outline.lineTo(r, h - 0.5);
        outline.arcTo(0.5, h - 2 * r + 0.5, d, d, 270, -90);
        outline.lineTo(0.5, r);
        outline.arcTo(0.5, 0.5, d, d, 180, -90);
        outline.closeSubpath();
        painter.fillPath(outline, m_fill);
    }

    // Each side of the border is a straight line ended by the halves of the two quarter
    // circles of its rounded corners that lie next to it.
    painter.setClipRegion(border);
    const QPointF topLeft(0.5, 0.5);
    const QPointF topRight(w - 2 * r + 0.5, 0.5);
    const QPointF bottomLeft(0.5, h - 2 * r + 0.5);
    const QPointF bottomRight(w - 2 * r + 0.5, h - 2 * r + 0.5);
    struct Side {
        QRectF line;
        QPointF firstCorner;
        int firstStart;
        int firstSpan;
        QPointF secondCorner;
        int secondStart;
        int secondSpan;
    };
    const Side sides[] = {
        {{r, h - 1, w - 2 * r, 1}, bottomLeft, -90, -45, bottomRight, -90, 45},
        {{w - 1, r, 1, h - 2 * r}, topRight, 45, -45, bottomRight, 315, 45},
        {{0, r, 1, h - 2 * r}, topLeft, 135, 45, bottomLeft, 180, 45},
        {{r, 0, w - 2 * r, 1}, topLeft, 135, -45, topRight, 45, 45},
    };
    const QPen arcPen(kBorderGrey, 1, Qt::SolidLine, Qt::SquareCap);
    for (const Side& side : sides) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBorderGrey);
        painter.drawRect(side.line);
        if (r == 0)
            continue;
        painter.setPen(arcPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(side.firstCorner, QSizeF(d, d)), side.firstStart * 16,
                        side.firstSpan * 16);
        painter.drawArc(QRectF(side.secondCorner, QSizeF(d, d)), side.secondStart * 16,
                        side.secondSpan * 16);
    }
    if (title().isEmpty())
        return;
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}
