#include "ui/reading/ReportLinks.h"

#include "services/Platform.h"
#include "ui/reading/WebAddressDetection.h"

#include <QMouseEvent>

namespace {

// The longest link text handed to the browser.
constexpr qsizetype kLinkTextLimit = 1024;

ReportLinkState& state() {
    static ReportLinkState linkState;
    return linkState;
}

class ReportLinkFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        handleReportLinkEvent(watched, event);
        return false;
    }
};

// The pointer the box shows over text that is not a link.
Qt::CursorShape textCursorShape(const QTextEdit& box) {
    return box.textInteractionFlags() & Qt::TextSelectableByMouse ? Qt::IBeamCursor
                                                                  : Qt::ArrowCursor;
}

} // namespace

const ReportLinkState& reportLinkState() {
    return state();
}

void enableReportLinks(QTextEdit* box, QWidget* window) {
    disableReportLinks();
    // A child of the box, so that it goes with the box even if never removed.
    auto* filter = new ReportLinkFilter(box);
    box->viewport()->installEventFilter(filter);
    setWebAddressDetection(*box, true);
    state() = {filter, box, window};
}

void handleReportLinkEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove)
        return;
    QTextEdit* box = state().box;
    if (!box || watched != box->viewport())
        return;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QString link = linkTextAt(*box, mouse->position().toPoint());
    if (type == QEvent::MouseMove)
        box->viewport()->setCursor(link.isEmpty() ? textCursorShape(*box) : Qt::PointingHandCursor);
    else if (mouse->button() == Qt::LeftButton && !link.isEmpty())
        platform().openUrl(QUrl(link.left(kLinkTextLimit)));
}

void disableReportLinks() {
    ReportLinkState& current = state();
    if (current.box) {
        setWebAddressDetection(*current.box, false);
        current.box->viewport()->setCursor(textCursorShape(*current.box));
        if (current.filter)
            current.box->viewport()->removeEventFilter(current.filter);
    }
    delete current.filter;
    current = {};
}
