#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <QString>
#include <map>

// A control's text as a screen reader reads it: whole, or a character, word, sentence, line or
// paragraph at, before or after an offset. Qt's own answers to these queries can loop for ever
// at the end of a text (Qt 6.4) or give a part that is not at the offset, so the program's text
// controls answer them here, from the text itself. An offset of -1 stands for the end of the
// text; one outside the text gets an empty part from -1 to -1.
class AccessibleText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    AccessibleText(QWidget* widget, QAccessible::Role role);

    void* interface_cast(QAccessible::InterfaceType type) override;
    // The name given by the window (nameAfter), if any.
    QString text(QAccessible::Text kind) const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    // The program gives no part of a text a format of its own.
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

protected:
    virtual QString content() const = 0;
    // Where each line of the text begins as shown; by default, where each paragraph does.
    virtual QList<int> lineStarts() const;
    // `offset` as a place in the text: -1 is its end, and others are kept within it.
    int placeInText(int offset) const;

private:
    enum class Side { Before, At, After };
    QString part(int offset, QAccessible::TextBoundaryType boundary, Side side, int* startOffset,
                 int* endOffset) const;
    QList<int> partStarts(const QString& text, QAccessible::TextBoundaryType boundary) const;

    // The parts of the text last asked about, which a screen reader asks about many times over.
    mutable QString m_partedText;
    mutable std::map<QAccessible::TextBoundaryType, QList<int>> m_partStarts;
};

// Whether the object is of that class itself, not of a class derived from it.
template <class QtClass> bool isExactly(const QObject& object) {
    return object.metaObject() == &QtClass::staticMetaObject;
}

// The interface of a single-line text box, or of a multi-line one of either kind, or nullptr.
QAccessibleInterface* accessibleTextBox(QObject& object);
