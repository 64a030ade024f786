#include "platform/qt/qt_events.h"

#include "platform/qt/qt_window.h"

namespace {
struct KeyPair {
    int qt;
    Key key;
};
// The first pair of a key is the one it is sent as.
const KeyPair kKeys[] = {
    {Qt::Key_Return, Key::Return},
    {Qt::Key_Enter, Key::Return},
    {Qt::Key_PageUp, Key::PageUp},
    {Qt::Key_PageDown, Key::PageDown},
    {Qt::Key_End, Key::End},
    {Qt::Key_Home, Key::Home},
    {Qt::Key_Left, Key::Left},
    {Qt::Key_Up, Key::Up},
    {Qt::Key_Right, Key::Right},
    {Qt::Key_Down, Key::Down},
    {Qt::Key_Escape, Key::Escape},
    {Qt::Key_Space, Key::Space},
    {Qt::Key_Backspace, Key::Backspace},
    {Qt::Key_Tab, Key::Tab},
    {Qt::Key_Delete, Key::Delete},
};

void scrollAction(PlatformWindow* window, QScrollBar* bar, int action) {
    ScrollRequest request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollRequest::LineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollRequest::LineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollRequest::PageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollRequest::PageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollRequest::Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollRequest::Bottom;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollRequest::ThumbTrack;
        break;
    default:
        return;
    }
    deliverScroll(window, request, bar->sliderPosition());
}
} // namespace

std::optional<Key> keyOf(int qtKey) {
    for (const KeyPair& k : kKeys) {
        if (k.qt == qtKey) return k.key;
    }
    return std::nullopt;
}

int qtKeyOf(Key key) {
    for (const KeyPair& k : kKeys) {
        if (k.key == key) return k.qt;
    }
    return 0;
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers) {
    unsigned bits = NoModifiers;
    if (modifiers & Qt::ShiftModifier) bits |= ShiftModifier;
    if (modifiers & Qt::ControlModifier) bits |= ControlModifier;
    if (modifiers & Qt::AltModifier) bits |= AltModifier;
    return KeyModifiers(bits);
}

const WindowEvents* liveEvents(const PlatformWindow* window) {
    return window && !window->destroyed ? window->events : nullptr;
}

void deliverScroll(PlatformWindow* window, ScrollRequest request, int position) {
    const WindowEvents* events = liveEvents(window);
    if (events && events->scroll) events->scroll(window, request, position);
}

void deliverCommand(PlatformWindow* window, int command) {
    const WindowEvents* events = liveEvents(window);
    if (events && events->command) events->command(window, command);
}

void deliverClose(PlatformWindow* window) {
    if (!window || window->destroyed) return;
    const WindowEvents* events = window->events;
    if (events && events->close)
        events->close(window);
    else
        destroyWindow(window);
}

void connectScrollBar(PlatformWindow* window, QScrollBar* bar) {
    QObject::connect(bar, &QAbstractSlider::actionTriggered,
                     [window, bar](int action) { scrollAction(window, bar, action); });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, [window, bar]() {
        deliverScroll(window, ScrollRequest::ThumbPosition, bar->sliderPosition());
        deliverScroll(window, ScrollRequest::EndScroll, bar->sliderPosition());
    });
}
