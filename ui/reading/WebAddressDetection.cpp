#include "ui/reading/WebAddressDetection.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// Marks text as a detected link. Its value is the underline style the text had before, or
// kNoUnderlineSet, so that unmarking gives the text back exactly as it was.
constexpr int kDetectedLink = QTextFormat::UserProperty + 1;
constexpr int kNoUnderlineSet = -1;
// Marks text in which addresses are detected.
constexpr int kAddressesAllowed = QTextFormat::UserProperty + 2;

// A child of the box while detection is on: it marks the text that the document reports as
// changed, and is found by its type.
class WebAddressDetector : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
};

struct Range {
    int position;
    int length;
    QTextCharFormat format;
};

bool isDetectedLink(const QTextCharFormat& format) {
    return format.hasProperty(kDetectedLink);
}

void applyFormats(QTextDocument& document, const QList<Range>& ranges) {
    QTextCursor cursor(&document);
    for (const Range& range : ranges) {
        cursor.setPosition(range.position);
        cursor.setPosition(range.position + range.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(range.format);
    }
}

void unmarkLinks(QTextDocument& document, const QTextBlock& block) {
    QList<Range> plain;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QTextCharFormat format = fragment.charFormat();
        if (!isDetectedLink(format))
            continue;
        const int underline = format.intProperty(kDetectedLink);
        if (underline == kNoUnderlineSet)
            format.clearProperty(QTextFormat::TextUnderlineStyle);
        else
            format.setProperty(QTextFormat::TextUnderlineStyle, underline);
        format.clearProperty(QTextFormat::IsAnchor);
        format.clearProperty(QTextFormat::AnchorHref);
        format.clearProperty(kDetectedLink);
        plain.append({fragment.position(), fragment.length(), format});
    }
    applyFormats(document, plain);
}

// Where a web address in `text` starts and ends; punctuation closing a sentence is not part of it.
QList<std::pair<qsizetype, qsizetype>> webAddressesIn(const QString& text) {
    static const QRegularExpression address(QStringLiteral(R"(\bhttps?://[^\s<>"]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QString trailing = QStringLiteral(".,;:!?'\")]}");
    QList<std::pair<qsizetype, qsizetype>> found;
    for (auto it = address.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        qsizetype end = match.capturedEnd();
        while (end > match.capturedStart() && trailing.contains(text.at(end - 1)))
            --end;
        found.append({match.capturedStart(), end});
    }
    return found;
}

void markLinks(QTextDocument& document, const QTextBlock& block) {
    const QString text = block.text();
    QList<Range> links;
    for (const auto& [start, end] : webAddressesIn(text)) {
        const int first = block.position() + int(start);
        const int last = block.position() + int(end);
        const QString href = text.mid(start, end - start);
        QList<QTextFragment> parts;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().position() < last &&
                first < it.fragment().position() + it.fragment().length())
                parts.append(it.fragment());
        if (!std::ranges::all_of(parts, [](const QTextFragment& part) {
                return part.charFormat().hasProperty(kAddressesAllowed);
            }))
            continue;
        for (const QTextFragment& fragment : parts) {
            const int from = std::max(first, fragment.position());
            const int to = std::min(last, fragment.position() + fragment.length());
            QTextCharFormat format = fragment.charFormat();
            format.setProperty(kDetectedLink,
                               format.hasProperty(QTextFormat::TextUnderlineStyle)
                                   ? format.intProperty(QTextFormat::TextUnderlineStyle)
                                   : kNoUnderlineSet);
            format.setAnchor(true);
            format.setAnchorHref(href);
            format.setFontUnderline(true);
            links.append({from, to - from, format});
        }
    }
    applyFormats(document, links);
}

void markWebAddresses(QTextDocument& document, int position, int length) {
    QTextBlock block = document.findBlock(position);
    const QTextBlock last = document.findBlock(position + length);
    for (; block.isValid(); block = block.next()) {
        unmarkLinks(document, block);
        markLinks(document, block);
        if (block == last)
            break;
    }
}

} // namespace

void setWebAddressDetection(QTextEdit& box, bool on) {
    if (on == webAddressDetection(box))
        return;
    if (!on) {
        delete box.findChild<WebAddressDetector*>(QString(), Qt::FindDirectChildrenOnly);
        return;
    }
    QTextDocument* document = box.document();
    markWebAddresses(*document, 0, document->characterCount());
    // Changes made to the document while it reports a change are not reported again.
    auto* detector = new WebAddressDetector(&box);
    QObject::connect(document, &QTextDocument::contentsChange, detector,
                     [document](int position, int /*removed*/, int added) {
                         markWebAddresses(*document, position, added);
                     });
}

void allowWebAddresses(QTextCharFormat& format) {
    format.setProperty(kAddressesAllowed, true);
}

bool webAddressDetection(const QTextEdit& box) {
    return box.findChild<WebAddressDetector*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

QString linkTextAt(const QTextEdit& box, QPoint viewportPoint) {
    const QTextDocument& document = *box.document();
    const QPoint contentsPoint = viewportPoint + QPoint(box.horizontalScrollBar()->value(),
                                                        box.verticalScrollBar()->value());
    const int position = document.documentLayout()->hitTest(contentsPoint, Qt::ExactHit);
    if (position < 0)
        return {};

    const QTextBlock block = document.findBlock(position);
    QList<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragments.append(it.fragment());
    const auto hit =
        std::find_if(fragments.cbegin(), fragments.cend(),
                     [position](const QTextFragment& f) { return f.contains(position); });
    if (hit == fragments.cend() || !isDetectedLink(hit->charFormat()))
        return {};

    // A link whose text changes format part way lies in several fragments.
    const QString href = hit->charFormat().anchorHref();
    const auto sameLink = [&href](const QTextFragment& f) {
        return isDetectedLink(f.charFormat()) && f.charFormat().anchorHref() == href;
    };
    auto first = hit;
    while (first != fragments.cbegin() && sameLink(*std::prev(first)))
        --first;
    auto last = hit;
    while (std::next(last) != fragments.cend() && sameLink(*std::next(last)))
        ++last;
    const int start = first->position() - block.position();
    const int end = last->position() + last->length() - block.position();
    return block.text().mid(start, end - start);
}

#include "WebAddressDetection.moc"
