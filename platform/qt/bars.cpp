// The command bar (a tool bar along the top of the client area) or the menu bar (along its
// bottom), with the "Go" menu and the tool buttons. Each menu item's shortcut label is also
// made its key combination, so that a shortcut the menu shows does what it says.
#include <QKeySequence>
#include <QTimer>
#include <QToolButton>

#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"

namespace {
PlatformMenu* buildMenu(PlatformWindow* owner, const MenuTemplate* t, QWidget* parent) {
    auto* menu = new PlatformMenu;
    menu->menu = new QMenu(QString::fromUtf16(t->title), parent);
    for (int i = 0; i < t->itemCount; ++i) {
        const MenuItemTemplate& item = t->items[i];
        if (item.command == 0) {
            menu->menu->addSeparator();
            continue;
        }
        QString text = QString::fromUtf16(item.text);
        int tab = text.indexOf(QChar('\b'));
        QAction* action = menu->menu->addAction(tab < 0 ? text : text.left(tab));
        if (tab >= 0) {
            // Several combinations may do the item's command: "Ctrl+=; Ctrl++".
            action->setShortcuts(QKeySequence::listFromString(text.mid(tab + 1)));
            action->setShortcutContext(Qt::WindowShortcut);
            owner->widget->addAction(action);
        }
        int command = item.command;
        QObject::connect(action, &QAction::triggered, [owner, action, command]() {
            // A checkable item flips itself when chosen; the reader keeps its marks itself.
            if (action->isCheckable()) action->setChecked(!action->isChecked());
            deliverCommand(owner, command);
        });
        menu->actions[command] = action;
    }
    return menu;
}

PlatformWindow* makeBar(WindowHandle owner, int id, bool bottom) {
    if (!owner || owner->kind != PlatformWindow::Main) return nullptr;
    auto* bar = new PlatformWindow;
    bar->kind = PlatformWindow::Bar;
    bar->owner = owner;
    bar->id = id;
    bar->bottom = bottom;
    auto* tools = new QToolBar(owner->client);
    tools->setIconSize(QSize(16, 16));
    tools->setMovable(false);
    tools->setFloatable(false);
    bar->widget = tools;
    attachWindow(tools, bar);
    owner->widget->setProperty("versewellBar", QVariant::fromValue<void*>(bar));
    placeBars(owner);
    return bar;
}

// Opens the menu as a keyboard opens a desktop menu: its first item is active, so that the
// arrows, Return and the items' underlined letters work at once.
void openFromKeyboard(QToolButton* button) {
    QMenu* menu = button->menu();
    QTimer::singleShot(0, menu, [menu]() {
        for (QAction* action : menu->actions()) {
            if (menu->isVisible() && !menu->activeAction() && !action->isSeparator()) {
                menu->setActiveAction(action);
                break;
            }
        }
    });
    button->showMenu();
}

void addMenuButton(PlatformWindow* bar, const MenuTemplate* t) {
    PlatformMenu* menu = buildMenu(bar->owner, t, bar->widget);
    if (bar->menu)
        bar->moreMenus.push_back(menu);
    else
        bar->menu = menu;
    auto* button = new QToolButton(bar->widget);
    QString title = QString::fromUtf16(t->title);
    button->setText(title);
    button->setMenu(menu->menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setObjectName(bar->moreMenus.empty() ? QStringLiteral("menuButton")
                                                 : QStringLiteral("menuButton%1").arg(t->id));
    static_cast<QToolBar*>(bar->widget)->addWidget(button);
    // Alt and the title's underlined letter, or F10 for the first menu, open the menu from
    // anywhere in the window (in place of the button's own mnemonic, which would click it
    // without an active item).
    button->setShortcut(QKeySequence());
    QKeySequence f10 = bar->moreMenus.empty() ? QKeySequence(Qt::Key_F10) : QKeySequence();
    for (const QKeySequence& keys : {QKeySequence::mnemonic(title), f10}) {
        if (keys.isEmpty()) continue;
        auto* open = new QAction(bar->widget);
        open->setShortcut(keys);
        open->setShortcutContext(Qt::WindowShortcut);
        bar->owner->widget->addAction(open);
        QObject::connect(open, &QAction::triggered, button,
                         [button]() { openFromKeyboard(button); });
    }
}
} // namespace

void placeBars(PlatformWindow* main) {
    auto* bar = static_cast<PlatformWindow*>(main->widget->property("versewellBar").value<void*>());
    if (!bar || bar->destroyed) return;
    int height = bar->widget->sizeHint().height();
    int y = bar->bottom ? main->client->height() - height : 0;
    bar->widget->setGeometry(0, y, main->client->width(), height);
}

WindowHandle createCommandBar(WindowHandle owner, int id) {
    return makeBar(owner, id, false);
}

int commandBarHeight(WindowHandle bar) {
    return bar ? bar->widget->sizeHint().height() : 0;
}

void commandBarInsertMenu(WindowHandle bar, const MenuTemplate* menu, int) {
    if (bar && menu) addMenuButton(bar, menu);
}

MenuHandle commandBarMenu(WindowHandle bar, int position) {
    if (!bar || position < 0) return nullptr;
    if (position == 0) return bar->menu;
    return size_t(position) <= bar->moreMenus.size() ? bar->moreMenus[size_t(position) - 1]
                                                     : nullptr;
}

WindowHandle createMenuBar(WindowHandle owner, const MenuTemplate* menu, uint32_t) {
    PlatformWindow* bar = makeBar(owner, 0, true);
    if (bar && menu) addMenuButton(bar, menu);
    return bar;
}

MenuHandle menuBarSubMenu(WindowHandle bar, int) {
    return bar ? bar->menu : nullptr;
}

void barSetToolTips(WindowHandle bar, const char16_t* const* tips, int count) {
    if (!bar) return;
    bar->tips.clear();
    for (int i = 0; i < count; ++i)
        bar->tips.push_back(tips[i] ? tips[i] : u"");
}

void barAddBitmap(WindowHandle bar, int bitmapId, int count, int width, int height) {
    if (!bar) return;
    QImage strip = bitmapResource(bitmapId);
    for (int i = 0; i < count && !strip.isNull(); ++i)
        bar->images.push_back(strip.copy(i * width, 0, width, height));
}

void barAddButtons(WindowHandle bar, const BarButton* buttons, int count) {
    if (!bar) return;
    auto* tools = static_cast<QToolBar*>(bar->widget);
    for (int i = 0; i < count; ++i) {
        const BarButton& b = buttons[i];
        QIcon icon =
            b.image < int(bar->images.size()) ? sharpIcon(bar->images[size_t(b.image)]) : QIcon();
        QString tip = size_t(i) + 1 < bar->tips.size()
                          ? QString::fromStdU16String(bar->tips[size_t(i) + 1])
                          : QString();
        QAction* action = tools->addAction(icon, tip);
        action->setToolTip(tip);
        action->setObjectName(QStringLiteral("tool%1").arg(b.command));
        PlatformWindow* owner = bar->owner;
        int command = b.command;
        QObject::connect(action, &QAction::triggered,
                         [owner, command]() { deliverCommand(owner, command); });
    }
    placeBars(bar->owner);
}

void barAddAdornments(WindowHandle bar) {
    if (!bar) return;
    auto* tools = static_cast<QToolBar*>(bar->widget);
    QAction* close = tools->addAction(QStringLiteral("\u2715"));
    close->setToolTip(QStringLiteral("Close"));
    PlatformWindow* owner = bar->owner;
    QObject::connect(close, &QAction::triggered, [owner]() { deliverClose(owner); });
}

void barShow(WindowHandle bar) {
    if (!bar) return;
    bar->widget->show();
    placeBars(bar->owner);
}

void destroyBar(WindowHandle bar) {
    if (!bar || bar->destroyed) return;
    bar->destroyed = true;
    bar->owner->widget->setProperty("versewellBar", QVariant());
    // The menu's widgets go with the bar's; the records behind the handles go after them.
    QObject::connect(bar->widget, &QObject::destroyed, [bar]() {
        delete bar->menu;
        for (PlatformMenu* menu : bar->moreMenus)
            delete menu;
        delete bar;
    });
    bar->widget->deleteLater();
}

void setMenuItemChecked(MenuHandle menu, int command, bool checked) {
    if (!menu) return;
    auto it = menu->actions.find(command);
    if (it == menu->actions.end()) return;
    it->second->setCheckable(true);
    it->second->setChecked(checked);
}

bool menuItemChecked(MenuHandle menu, int command) {
    if (!menu) return false;
    auto it = menu->actions.find(command);
    return it != menu->actions.end() && it->second->isChecked();
}

void setMenuItemEnabled(MenuHandle menu, int command, bool enabled) {
    if (!menu) return;
    auto it = menu->actions.find(command);
    if (it != menu->actions.end()) it->second->setEnabled(enabled);
}

bool menuItemEnabled(MenuHandle menu, int command) {
    if (!menu) return false;
    auto it = menu->actions.find(command);
    return it != menu->actions.end() && it->second->isEnabled();
}
