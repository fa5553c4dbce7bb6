#include "ui/common/Accessibility.h"

#include "ui/common/LinkLabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

// A link label: a link named by its text, followed by its press action as by a click.
class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel& label)
        : QAccessibleWidget(&label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label().text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit label().clicked();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    LinkLabel& label() const { return *static_cast<LinkLabel*>(widget()); }
};

// A drop-down list that cannot be typed into. As with Qt's own, its name is the chosen item (its
// caption label labels it), and its one child is the list of items that drops down. The chosen
// item is also its text, which a screen reader reads as the list's value.
class AccessibleList : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleList(QComboBox& list)
        : QAccessibleWidget(&list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list().view() ? 0 : -1;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name || kind == QAccessible::Value)
            return chosen();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            list().showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

    // The text: the chosen item, which can be neither edited nor selected.
    QString text(int start, int end) const override { return chosen().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(chosen().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QComboBox& list() const { return *static_cast<QComboBox*>(widget()); }
    QString chosen() const { return list().currentText(); }
};

// The arrow keys change the item of a closed list without moving the focus, so a screen reader
// would not tell the new item: the focus is reported as having moved to it. An item chosen in the
// open list was the current item of the list's view there, and told as such already; the view's
// current item is kept on the chosen one for that comparison.
void reportItemAsFocused(QComboBox& list, int index) {
    QAbstractItemView& view = *list.view();
    const bool told = view.currentIndex().row() == index;
    view.setCurrentIndex(list.model()->index(index, list.modelColumn(), list.rootModelIndex()));
    if (told || index < 0 || !list.hasFocus())
        return;
    if (QAccessibleInterface* item = QAccessible::queryAccessibleInterface(&view)->child(index)) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

// Qt asks with the names of the object's class and of each class it derives from, most
// derived first; the object's own type answers the first question.
QAccessibleInterface* accessibleInterface(const QString& /*className*/, QObject* object) {
    if (auto* link = qobject_cast<LinkLabel*>(object))
        return new AccessibleLink(*link);
    if (auto* box = qobject_cast<QComboBox*>(object)) {
        auto& list = *box;
        if (list.isEditable())
            return nullptr; // Qt's own has the text box as a second child
        // The interface is made once for each list, when it is first asked for.
        QObject::connect(&list, &QComboBox::currentIndexChanged, &list,
                         [&list](int index) { reportItemAsFocused(list, index); });
        return new AccessibleList(list);
    }
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    QAccessible::installFactory(accessibleInterface);
}
