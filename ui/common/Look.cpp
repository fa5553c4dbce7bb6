#include "ui/common/Look.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLayout>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <algorithm>

namespace look {

namespace {

// Fills its widget before the widget draws itself.
class BackgroundPainter final : public QObject {
public:
    BackgroundPainter(QWidget& widget, const QColor& colour)
        : QObject(&widget)
        , m_colour(colour) {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QPainter painter(static_cast<QWidget*>(watched));
            painter.fillRect(static_cast<QPaintEvent*>(event)->rect(), m_colour);
        }
        return false;
    }

private:
    QColor m_colour;
};

} // namespace

QFont verdana(qreal points, int emphasis) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(emphasis & Bold);
    font.setUnderline(emphasis & Underlined);
    return font;
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

void setBackground(QWidget& widget, const QColor& colour) {
    new BackgroundPainter(widget, colour);
}

void setPaper(QAbstractScrollArea& box, const QColor& paper, const QColor& ink) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, paper);
    palette.setColor(QPalette::Text, ink);
    box.setPalette(palette);
}

void setFrameBackground(QAbstractScrollArea& box, const QColor& colour) {
    setBackground(box, colour);
    // The text area shows the fill too: above 100 % the frame's line is thinner than
    // the frame, and the fill has to show on both sides of it.
    box.viewport()->setAutoFillBackground(false);
    for (QScrollBar* bar : {box.verticalScrollBar(), box.horizontalScrollBar()}) {
        QPalette barPalette = bar->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            barPalette.setColor(group, QPalette::Window, barPalette.color(group, QPalette::Window));
        bar->setPalette(barPalette);
    }
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, colour);
    box.setPalette(palette);
}

namespace {

// The frame a window manager draws around `window`: the largest of its own once shown and those
// of the program's other windows, which the manager frames alike, though a window's own may still
// grow after it first shows. None without a window manager.
QMargins frameAround(const QWidget& window) {
    QMargins largest;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other->isVisible() && other->windowHandle()) {
            const QMargins frame = other->windowHandle()->frameMargins();
            largest = QMargins(std::max(largest.left(), frame.left()),
                               std::max(largest.top(), frame.top()),
                               std::max(largest.right(), frame.right()),
                               std::max(largest.bottom(), frame.bottom()));
        }
    // Given in whole pixels of the scaled screen, each side may be short by part of one.
    const int part = !largest.isNull() && window.devicePixelRatioF() > 1 ? 1 : 0;
    return largest + QMargins(part, part, part, part);
}

// Keeps a window, frame and title bar included, inside its screen's free area: a window too large
// for it gets scroll bars over its content. Decided before the window shows, with the frame the
// program's other windows have, and again once the window manager has framed it.
class ScreenFit final : public QObject {
public:
    ScreenFit(QWidget& window, QWidget& content)
        : QObject(&window)
        , m_window(window)
        , m_content(content)
        , m_whole(window.sizeHint()) {
        window.installEventFilter(this);
        fit();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Show && m_window.windowHandle())
            m_window.windowHandle()->installEventFilter(this);
        else if (watched == m_window.windowHandle() && event->type() == QEvent::Expose &&
                 m_window.windowHandle()->isExposed()) {
            // Once, when first framed: afterwards the window is where the user leaves it.
            m_window.removeEventFilter(this);
            m_window.windowHandle()->removeEventFilter(this);
            fit();
        }
        return false;
    }

private:
    void fit() {
        const QRect free = m_window.screen()->availableGeometry();
        const QMargins frame = frameAround(m_window);
        const QSize room = free.size().shrunkBy(frame);
        if (m_whole.width() <= room.width() && m_whole.height() <= room.height())
            return; // where it fits, the window manager places it
        if (!m_area)
            putUnderScrollBars();
        QSize size = m_whole;
        if (m_whole.height() > room.height())
            size.rwidth() += scrollBars().width();
        if (m_whole.width() > room.width())
            size.rheight() += scrollBars().height();
        size = size.boundedTo(room);
        // The frame where it stands, or at the area's top left corner, moved inside the area.
        const QSize framed = size.grownBy(frame);
        const QPoint at = m_window.isVisible() ? m_window.pos() : free.topLeft();
        const QPoint corner(std::clamp(at.x(), free.left(), free.right() + 1 - framed.width()),
                            std::clamp(at.y(), free.top(), free.bottom() + 1 - framed.height()));
        m_window.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size));
    }

    void putUnderScrollBars() {
        m_area = new QScrollArea;
        m_area->setFrameShape(QFrame::NoFrame);
        // The focus goes to the window's controls in their own order, never to the area, and a
        // control that gets it is brought into view.
        m_area->setFocusPolicy(Qt::NoFocus);
        connect(qApp, &QApplication::focusChanged, m_area, [area = m_area](QWidget*, QWidget* now) {
            if (!now || !area->widget()->isAncestorOf(now))
                return;
            // All of it, or as much as the area holds from its top left corner: for a text box,
            // the area would show only the line with the caret.
            const QPoint at = now->mapTo(area->widget(), QPoint());
            area->ensureVisible(at.x() + now->width(), at.y() + now->height(), 0, 0);
            area->ensureVisible(at.x(), at.y(), 0, 0);
        });
        m_content.resize(m_content.sizeHint().expandedTo(m_content.minimumSize()));
        // Moving the content drops the window's focus widget, on which the window opens.
        QWidget* const focus = m_window.focusWidget();
        if (auto* mainWindow = qobject_cast<QMainWindow*>(&m_window)) {
            mainWindow->takeCentralWidget();
            m_area->setWidget(&m_content);
            mainWindow->setCentralWidget(m_area);
        } else {
            delete m_window.layout()->replaceWidget(&m_content, m_area);
            m_area->setWidget(&m_content);
        }
        if (focus)
            focus->setFocus();
        // The window may now be resized, up to the size at which no scroll bar is needed.
        m_window.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        m_window.setMinimumSize(0, 0);
        m_window.setMaximumSize(m_whole + scrollBars());
    }

    QSize scrollBars() const {
        return {m_area->verticalScrollBar()->sizeHint().width(),
                m_area->horizontalScrollBar()->sizeHint().height()};
    }

    QWidget& m_window;
    QWidget& m_content;
    const QSize m_whole;
    QScrollArea* m_area = nullptr;
};

} // namespace

void fitToScreen(QWidget& window, QWidget& content) {
    new ScreenFit(window, content);
}

} // namespace look
