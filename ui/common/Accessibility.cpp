#include "ui/common/Accessibility.h"

#include "ui/common/AccessibleText.h"
#include "ui/common/LinkLabel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QTextDocument>
#include <utility>

namespace {

using Relations = AccessibleRelations;

// What a window's code has screen readers told of one of its widgets, kept with the widget, so
// that it holds whenever a screen reader first asks about it.
class Presentation : public QObject {
    Q_OBJECT

public:
    static const Presentation* of(const QWidget& widget) {
        return widget.findChild<Presentation*>(QString(), Qt::FindDirectChildrenOnly);
    }
    static Presentation& made(QWidget& widget) {
        auto* found = widget.findChild<Presentation*>(QString(), Qt::FindDirectChildrenOnly);
        return found ? *found : *new Presentation(widget);
    }

    bool heading = false;
    QPointer<QLabel> caption;
    QList<QPointer<QWidget>> captioned; // what the widget is the caption of
    QList<QPointer<QWidget>> nameParts;
    bool itemsReported = false; // a list's new items are reported as focused

private:
    explicit Presentation(QWidget& widget)
        : QObject(&widget) {}
};

QAccessibleInterface* interfaceOf(QWidget* widget) {
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

QString withoutAccessKeys(const QString& text) {
    QString plain;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u'&' && at + 1 < text.size())
            ++at; // "&&" is one ampersand, and "&x" an x with its access key
        plain.append(text[at]);
    }
    return plain;
}

// A label, as Qt's own presents it (an image when it shows one), but a heading or a caption where
// its window says so.
class AccessibleLabel : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit AccessibleLabel(QLabel& label)
        : QAccessibleWidget(&label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::Role role() const override {
        if (!label().pixmap().isNull())
            return QAccessible::Graphic;
        const Presentation* presentation = Presentation::of(label());
        return presentation && presentation->heading ? QAccessible::Heading
                                                     : QAccessible::StaticText;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !label().accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        QString text = label().text();
        if (label().textFormat() == Qt::RichText ||
            (label().textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        }
        if (label().buddy())
            text = withoutAccessKeys(text);
        return text.isEmpty() ? QAccessibleWidget::text(kind) : text;
    }
    Relations relations(QAccessible::Relation match) const override {
        Relations relations = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled)
            if (QAccessibleInterface* buddy = interfaceOf(label().buddy()))
                relations.append({buddy, QAccessible::Labelled});
        return presentedRelations(label(), relations, match);
    }

    QString imageDescription() const override { return label().toolTip(); }
    QSize imageSize() const override { return label().pixmap().size(); }
    QPoint imagePosition() const override { return label().mapToGlobal(QPoint(0, 0)); }

private:
    QLabel& label() const { return *static_cast<QLabel*>(widget()); }
};

// A plain frame groups what it holds; drawn as a line, it separates. Qt presents it as a frame,
// the role of a window, inside which a screen reader reads nothing. It has no name but the one
// its window gives it, where Qt's would take the caption of a panel it is in.
class AccessibleFrame : public QAccessibleWidget {
public:
    explicit AccessibleFrame(QFrame& frame)
        : QAccessibleWidget(&frame, QAccessible::Grouping) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? widget()->accessibleName()
                                         : QAccessibleWidget::text(kind);
    }

    QAccessible::Role role() const override {
        const QFrame::Shape shape = static_cast<QFrame*>(widget())->frameShape();
        return shape == QFrame::HLine || shape == QFrame::VLine ? QAccessible::Separator
                                                                : QAccessible::Grouping;
    }
};

// An entry of a menu or of the menu bar, as Qt's own presents it, except that pressing it through
// a screen reader runs its action once the screen reader has its answer: an action may open a
// message or a dialog, and the screen reader would wait for its answer until that closed. A
// screen reader may still ask once the entry or its menu is gone: it then gets empty answers.
class AccessibleMenuEntry : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleMenuEntry(QAction& action, QWidget& menu)
        : m_action(&action)
        , m_menu(&menu) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override { return m_action && m_menu; }
    QObject* object() const override { return m_action; }
    QWindow* window() const override { return m_menu ? m_menu->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return interfaceOf(m_menu); }
    int childCount() const override { return submenu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? interfaceOf(submenu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && submenu() && child->object() == submenu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* submenu = child(0);
        return submenu && submenu->rect().contains(x, y) ? submenu : nullptr;
    }
    QAccessible::Role role() const override {
        return isValid() && m_action->isSeparator() ? QAccessible::Separator
                                                    : QAccessible::MenuItem;
    }
    QString text(QAccessible::Text kind) const override {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return withoutAccessKeys(m_action->text());
        if (kind == QAccessible::Accelerator)
            return m_action->shortcut().toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        QRect place;
        if (auto* bar = qobject_cast<QMenuBar*>(m_menu))
            place = bar->actionGeometry(m_action);
        else if (auto* menu = qobject_cast<QMenu*>(m_menu))
            place = menu->actionGeometry(m_action);
        return place.translated(m_menu->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.invisible = !m_menu->isVisible() || !m_action->isVisible();
        const auto* bar = qobject_cast<QMenuBar*>(m_menu);
        const auto* menu = qobject_cast<QMenu*>(m_menu);
        state.focused = (bar    ? bar->activeAction()
                         : menu ? menu->activeAction()
                                : nullptr) == m_action;
        state.hotTracked = m_menu->style()->styleHint(QStyle::SH_Menu_MouseTracking) != 0;
        state.disabled = m_action->isSeparator() || !m_action->isEnabled();
        state.checkable = m_action->isCheckable();
        state.checked = m_action->isChecked();
        state.hasPopup = m_action->menu() != nullptr;
        return state;
    }

    QStringList actionNames() const override {
        if (!isValid() || m_action->isSeparator())
            return {};
        return {m_action->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& action) override {
        if (!isValid() || !m_action->isEnabled())
            return;
        if (action == pressAction())
            QMetaObject::invokeMethod(m_action, &QAction::trigger, Qt::QueuedConnection);
        else if (action == showMenuAction() && m_action->menu() && m_action->menu()->isVisible())
            m_action->menu()->hide();
        else if (auto* bar = qobject_cast<QMenuBar*>(m_menu); bar && action == showMenuAction())
            bar->setActiveAction(m_action);
        else if (auto* menu = qobject_cast<QMenu*>(m_menu); menu && action == showMenuAction())
            menu->setActiveAction(m_action);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QMenu* submenu() const { return isValid() ? m_action->menu() : nullptr; }

    QPointer<QAction> m_action;
    QPointer<QWidget> m_menu;
};

// The menu or menu bar that shows `action`, or nullptr.
QWidget* menuOf(const QAction& action) {
    for (QObject* shownIn : action.associatedObjects())
        if (qobject_cast<QMenu*>(shownIn) || qobject_cast<QMenuBar*>(shownIn))
            return static_cast<QWidget*>(shownIn);
    return nullptr;
}

// Enter on a focused button presses it.
class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto& key = static_cast<QKeyEvent&>(*event);
        const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
        if (!enter || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key.isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

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
class AccessibleList : public AccessibleText {
public:
    explicit AccessibleList(QComboBox& list)
        : AccessibleText(&list, QAccessible::ComboBox) {}

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list().view() ? 0 : -1;
    }
    using AccessibleText::text;
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name || kind == QAccessible::Value)
            return chosen();
        return AccessibleText::text(kind);
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

private:
    QComboBox& list() const { return *static_cast<QComboBox*>(widget()); }
    QString chosen() const { return list().currentText(); }
    QString content() const override { return chosen(); }
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

// Qt asks once for each class of the object, most derived first, until an interface is given.
// Each interface here serves exactly one class, so subclasses keep Qt's own.
QAccessibleInterface* accessibleInterface(const QString& /*className*/, QObject* object) {
    if (isExactly<QLabel>(*object))
        return new AccessibleLabel(*static_cast<QLabel*>(object));
    if (isExactly<QFrame>(*object))
        return new AccessibleFrame(*static_cast<QFrame*>(object));
    if (isExactly<QAction>(*object)) {
        auto& action = *static_cast<QAction*>(object);
        QWidget* menu = menuOf(action);
        return menu ? new AccessibleMenuEntry(action, *menu) : nullptr;
    }
    if (isExactly<LinkLabel>(*object))
        return new AccessibleLink(*static_cast<LinkLabel*>(object));
    if (isExactly<QComboBox>(*object)) {
        auto& list = *static_cast<QComboBox*>(object);
        if (list.isEditable())
            return nullptr; // Qt's own has the text box as a second child
        // Qt may make a list's interface more than once; its items are reported once.
        if (!std::exchange(Presentation::made(list).itemsReported, true))
            QObject::connect(&list, &QComboBox::currentIndexChanged, &list,
                             [&list](int index) { reportItemAsFocused(list, index); });
        return new AccessibleList(list);
    }
    return accessibleTextBox(*object);
}

} // namespace

void installAccessibleInterfaces() {
    QAccessible::installFactory(accessibleInterface);
}

void presentAsHeading(QLabel& label) {
    Presentation::made(label).heading = true;
}

void labelWith(QWidget& control, QLabel& caption) {
    Presentation::made(control).caption = &caption;
    Presentation::made(caption).captioned.append(&control);
}

void nameAfter(QWidget& control, const QList<QWidget*>& parts) {
    QList<QPointer<QWidget>>& kept = Presentation::made(control).nameParts;
    kept.clear();
    for (QWidget* part : parts)
        kept.append(part);
}

void pressFocusedButtonsOnEnter(QWidget& window) {
    auto* presses = new EnterPresses(&window);
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        button->installEventFilter(presses);
}

QString presentedName(const QWidget& control) {
    const Presentation* presentation = Presentation::of(control);
    if (!presentation)
        return {};
    QStringList texts;
    const auto nameOf = [](QWidget* widget) {
        QAccessibleInterface* part = interfaceOf(widget);
        return part ? part->text(QAccessible::Name) : QString();
    };
    for (QWidget* part : presentation->nameParts) {
        const Presentation* partPresentation = part ? Presentation::of(*part) : nullptr;
        if (partPresentation && partPresentation->caption)
            texts.append(nameOf(partPresentation->caption) + u' ' + nameOf(part));
        else
            texts.append(nameOf(part));
    }
    return texts.join(QStringLiteral(", "));
}

AccessibleRelations presentedRelations(const QWidget& control, AccessibleRelations relations,
                                       QAccessible::Relation match) {
    const Presentation* presentation = Presentation::of(control);
    if (!presentation)
        return relations;
    if (presentation->caption && match & QAccessible::Label) {
        relations.removeIf(
            [](const auto& relation) { return relation.second == QAccessible::Label; });
        relations.append({interfaceOf(presentation->caption), QAccessible::Label});
    }
    if (match & QAccessible::Labelled)
        for (QWidget* captioned : presentation->captioned)
            if (QAccessibleInterface* other = interfaceOf(captioned))
                relations.append({other, QAccessible::Labelled});
    return relations;
}

#include "Accessibility.moc"
