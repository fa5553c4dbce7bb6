#include "ui/common/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// Shows, of two offers, only the one in front, again whenever either is raised.
class FrontOfferOnly : public QObject {
public:
    FrontOfferOnly(QWidget& first, QWidget& second)
        : QObject(&first)
        , m_offers{&first, &second} {
        for (QWidget* offer : m_offers)
            offer->installEventFilter(this);
        showFrontOnly();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange)
            showFrontOnly();
        return false;
    }

private:
    void showFrontOnly() {
        const QObjectList& stack = m_offers[0]->parentWidget()->children(); // bottom to top
        const bool firstInFront = stack.indexOf(m_offers[0]) > stack.indexOf(m_offers[1]);
        m_offers[0]->setVisible(firstInFront);
        m_offers[1]->setVisible(!firstInFront);
    }

    std::array<QWidget*, 2> m_offers;
};

} // namespace

LinkLabel::LinkLabel(QWidget* parent)
    : QLabel(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // Only a release over the label counts, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            emit clicked();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // In the text's own colour, the frame shows on whatever background the label has.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(foregroundRole()), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void tabToLinksAfter(QWidget& lastControl) {
    QWidget* window = lastControl.window();
    QList<LinkLabel*> links = window->findChildren<LinkLabel*>();
    std::ranges::stable_sort(links, {}, [window](const QWidget* link) {
        const QPoint place = link->mapTo(window, QPoint(0, 0));
        return std::pair(place.y(), place.x());
    });
    QWidget* previous = &lastControl;
    for (LinkLabel* link : links)
        QWidget::setTabOrder(std::exchange(previous, link), link);
    // Tab goes round a ring, and a window opens on the first widget of its ring that takes the
    // focus, which may still be a link: it opens on the control that follows the links instead.
    QWidget* first = previous->nextInFocusChain();
    while (first != previous && !(first->focusPolicy() & Qt::TabFocus))
        first = first->nextInFocusChain();
    first->setFocus();
}

void shareOnePlace(LinkLabel& first, LinkLabel& second) {
    new FrontOfferOnly(first, second);
}
