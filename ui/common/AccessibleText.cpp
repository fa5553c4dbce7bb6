#include "ui/common/AccessibleText.h"

#include "ui/common/Accessibility.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>

namespace {

bool endsParagraph(QChar character) {
    return character == u'\n' || character == QChar::ParagraphSeparator;
}

// Where the parts that a boundary finder marks begin, or only its words with the text between
// them, each word with the spaces and marks after it (so that the text before the first word
// starts a part of its own).
QList<int> finderStarts(const QString& text, QTextBoundaryFinder::BoundaryType type,
                        bool wordsOnly) {
    QList<int> starts{0};
    QTextBoundaryFinder finder(type, text);
    // Each step moves forward, and the end of the text gives -1.
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size();
         at = finder.toNextBoundary())
        if (!wordsOnly || finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem)
            starts.append(static_cast<int>(at));
    return starts;
}

// A single-line text box. What a screen reader writes into it goes through the box's editing,
// as typing does, so that the box's owner checks it as it checks typed text.
class AccessibleLineEdit : public AccessibleText, public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QLineEdit& edit)
        : AccessibleText(&edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return AccessibleText::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = AccessibleText::state();
        state.readOnly = edit().isReadOnly();
        state.editable = !edit().isReadOnly();
        state.passwordEdit = edit().echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }
    using AccessibleText::text;
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? content() : AccessibleText::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value)
            replaceText(0, characterCount(), text);
        else
            AccessibleText::setText(kind, text);
    }

    int cursorPosition() const override { return edit().cursorPosition(); }
    void setCursorPosition(int position) override {
        edit().setCursorPosition(placeInText(position));
    }
    int selectionCount() const override { return edit().hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        const bool selected = index == 0 && edit().hasSelectedText();
        *startOffset = selected ? edit().selectionStart() : 0;
        *endOffset = selected ? edit().selectionEnd() : 0;
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        if (index == 0)
            edit().deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index != 0)
            return;
        const int start = placeInText(startOffset);
        edit().setSelection(start, placeInText(endOffset) - start);
    }
    QRect characterRect(int offset) const override {
        const QString shown = content();
        if (offset < 0 || offset >= shown.size())
            return {};
        // The box tells where its cursor is; the character is as far from it as the text between.
        const QFontMetrics metrics = edit().fontMetrics();
        const QRect cursor = edit().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = cursor.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(edit().cursorPosition()));
        const QRect character(x, cursor.top(), metrics.horizontalAdvance(shown.at(offset)),
                              cursor.height());
        return character.translated(edit().mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inBox = edit().mapFromGlobal(point);
        return edit().rect().contains(inBox) ? edit().cursorPositionAt(inBox) : -1;
    }
    void scrollToSubstring(int startIndex, int) override { setCursorPosition(startIndex); }

    void deleteText(int startOffset, int endOffset) override {
        if (placeInText(startOffset) < placeInText(endOffset))
            replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    // The box's owner may answer the edit with a message, which the screen reader would wait
    // for: the edit is made once it has its answer.
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (edit().isReadOnly())
            return;
        const int start = placeInText(startOffset);
        const int end = placeInText(endOffset);
        QLineEdit* box = &edit();
        QMetaObject::invokeMethod(
            box,
            [box, start, end, text] {
                box->setSelection(start, end - start);
                box->insert(text); // replaces the selection, as typing would
            },
            Qt::QueuedConnection);
    }

private:
    QLineEdit& edit() const { return *static_cast<QLineEdit*>(widget()); }
    QString content() const override { return edit().displayText(); }
};

// A multi-line text box, of either of Qt's two kinds. Its lines are those it shows.
template <typename Box> class AccessibleTextBox : public AccessibleText {
public:
    explicit AccessibleTextBox(Box& box)
        : AccessibleText(&box, QAccessible::EditableText) {}

    QAccessible::State state() const override {
        QAccessible::State state = AccessibleText::state();
        state.readOnly = box().isReadOnly();
        state.editable = !box().isReadOnly();
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    using AccessibleText::text;
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? content() : AccessibleText::text(kind);
    }

    int cursorPosition() const override { return box().textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor cursor = box().textCursor();
        cursor.setPosition(placeInText(position));
        box().setTextCursor(cursor);
    }
    int selectionCount() const override { return box().textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        const QTextCursor cursor = box().textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *startOffset = selected ? cursor.selectionStart() : 0;
        *endOffset = selected ? cursor.selectionEnd() : 0;
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        QTextCursor cursor = box().textCursor();
        if (index != 0 || !cursor.hasSelection())
            return;
        cursor.clearSelection();
        box().setTextCursor(cursor);
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index != 0)
            return;
        QTextCursor cursor = box().textCursor();
        cursor.setPosition(placeInText(startOffset));
        cursor.setPosition(placeInText(endOffset), QTextCursor::KeepAnchor);
        box().setTextCursor(cursor);
    }
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount())
            return {};
        QTextCursor cursor(box().document());
        cursor.setPosition(offset);
        const QRect left = box().cursorRect(cursor);
        cursor.setPosition(offset + 1);
        const QRect right = box().cursorRect(cursor);
        // The last character of a line has the next line's start after it.
        const int width = right.top() == left.top() && right.left() > left.left()
                              ? right.left() - left.left()
                              : box().fontMetrics().horizontalAdvance(content().at(offset));
        const QRect character(left.left(), left.top(), width, left.height());
        return character.translated(box().viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inView = box().viewport()->mapFromGlobal(point);
        if (!box().viewport()->rect().contains(inView))
            return -1;
        return box().cursorForPosition(inView).position();
    }
    void scrollToSubstring(int startIndex, int) override {
        setCursorPosition(startIndex);
        box().ensureCursorVisible();
    }

private:
    Box& box() const { return *static_cast<Box*>(widget()); }
    QString content() const override { return box().document()->toPlainText(); }
    QList<int> lineStarts() const override {
        QList<int> starts;
        for (QTextBlock block = box().document()->begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            // A paragraph not laid out yet counts as one line.
            const int lines = layout ? layout->lineCount() : 0;
            starts.append(block.position());
            for (int line = 1; line < lines; ++line)
                starts.append(block.position() + layout->lineAt(line).textStart());
        }
        return starts;
    }
};

} // namespace

AccessibleText::AccessibleText(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role) {}

void* AccessibleText::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleText::text(QAccessible::Text kind) const {
    const QString name = kind == QAccessible::Name ? presentedName(*widget()) : QString();
    return name.isEmpty() ? QAccessibleWidget::text(kind) : name;
}

AccessibleRelations AccessibleText::relations(QAccessible::Relation match) const {
    return presentedRelations(*widget(), QAccessibleWidget::relations(match), match);
}

QString AccessibleText::text(int startOffset, int endOffset) const {
    const QString text = content();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, text.size());
    const qsizetype end =
        endOffset == -1 ? text.size() : std::clamp<qsizetype>(endOffset, 0, text.size());
    return start < end ? text.sliced(start, end - start) : QString();
}

int AccessibleText::characterCount() const {
    return static_cast<int>(content().size());
}

QString AccessibleText::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
    return part(offset, boundary, Side::Before, startOffset, endOffset);
}

QString AccessibleText::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                     int* startOffset, int* endOffset) const {
    return part(offset, boundary, Side::At, startOffset, endOffset);
}

QString AccessibleText::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                        int* startOffset, int* endOffset) const {
    return part(offset, boundary, Side::After, startOffset, endOffset);
}

QString AccessibleText::attributes(int offset, int* startOffset, int* endOffset) const {
    const int length = characterCount();
    const bool inText = offset >= -1 && offset <= length;
    *startOffset = inText ? 0 : -1;
    *endOffset = inText ? length : -1;
    return {};
}

QList<int> AccessibleText::lineStarts() const {
    return partStarts(content(), QAccessible::ParagraphBoundary);
}

int AccessibleText::placeInText(int offset) const {
    const int length = characterCount();
    return offset == -1 ? length : std::clamp(offset, 0, length);
}

// The parts of the text are cut at the places partStarts gives. At an offset between two parts,
// the part that begins there is the one at the offset; at the end of the text, the last part,
// except that no character is there.
QString AccessibleText::part(int offset, QAccessible::TextBoundaryType boundary, Side side,
                             int* startOffset, int* endOffset) const {
    const QString text = content();
    const auto length = static_cast<int>(text.size());
    if (offset == -1)
        offset = length;
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > length)
        return {};
    const QList<int> starts = partStarts(text, boundary);
    auto at = std::ranges::upper_bound(starts, offset) - starts.begin() - 1;
    if (offset == length && boundary == QAccessible::CharBoundary)
        at = starts.size();
    const auto wanted = at + (side == Side::Before ? -1 : side == Side::After ? 1 : 0);
    if (wanted < 0 || wanted >= starts.size()) {
        *startOffset = *endOffset = wanted < 0 ? 0 : length;
        return {};
    }
    *startOffset = starts[wanted];
    *endOffset = wanted + 1 < starts.size() ? starts[wanted + 1] : length;
    return text.sliced(*startOffset, *endOffset - *startOffset);
}

// Where each part of `text` begins, in order: the first at 0, none in an empty text.
QList<int> AccessibleText::partStarts(const QString& text,
                                      QAccessible::TextBoundaryType boundary) const {
    if (text.isEmpty())
        return {};
    if (boundary == QAccessible::LineBoundary) { // as laid out, which may change at any time
        QList<int> starts = lineStarts();
        starts.removeIf([&text](int start) { return start <= 0 || start >= text.size(); });
        starts.prepend(0);
        std::ranges::sort(starts);
        starts.erase(std::ranges::unique(starts).begin(), starts.end());
        return starts;
    }
    if (text != m_partedText) {
        m_partedText = text;
        m_partStarts.clear();
    }
    auto [kept, added] = m_partStarts.try_emplace(boundary);
    if (!added)
        return kept->second;
    QList<int>& starts = kept->second;
    switch (boundary) {
    case QAccessible::CharBoundary:
        starts = finderStarts(text, QTextBoundaryFinder::Grapheme, false);
        break;
    case QAccessible::WordBoundary:
        starts = finderStarts(text, QTextBoundaryFinder::Word, true);
        break;
    case QAccessible::SentenceBoundary:
        starts = finderStarts(text, QTextBoundaryFinder::Sentence, false);
        break;
    case QAccessible::ParagraphBoundary:
        starts = {0};
        for (qsizetype at = 1; at < text.size(); ++at)
            if (endsParagraph(text[at - 1]))
                starts.append(static_cast<int>(at));
        break;
    default: // the whole text
        starts = {0};
    }
    return starts;
}

QAccessibleInterface* accessibleTextBox(QObject& object) {
    if (isExactly<QLineEdit>(object))
        return new AccessibleLineEdit(static_cast<QLineEdit&>(object));
    if (isExactly<QPlainTextEdit>(object))
        return new AccessibleTextBox<QPlainTextEdit>(static_cast<QPlainTextEdit&>(object));
    if (isExactly<QTextEdit>(object))
        return new AccessibleTextBox<QTextEdit>(static_cast<QTextEdit&>(object));
    return nullptr;
}
