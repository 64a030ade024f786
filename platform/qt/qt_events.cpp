#include "platform/qt/qt_events.h"

#include <iterator>

namespace {
struct KeyPair {
    int qt;
    uint32_t code;
};
const KeyPair kKeys[] = {
    {Qt::Key_Return, KeyReturn},       {Qt::Key_Enter, KeyReturn},  {Qt::Key_PageUp, KeyPageUp},
    {Qt::Key_PageDown, KeyPageDown},   {Qt::Key_End, KeyEnd},       {Qt::Key_Home, KeyHome},
    {Qt::Key_Left, KeyLeft},           {Qt::Key_Up, KeyUp},         {Qt::Key_Right, KeyRight},
    {Qt::Key_Down, KeyDown},           {Qt::Key_Escape, KeyEscape}, {Qt::Key_Space, KeySpace},
    {Qt::Key_Backspace, KeyBackspace}, {Qt::Key_Tab, KeyTab},       {Qt::Key_Delete, KeyDelete},
};

void scrollRequest(PlatformWindow* window, QScrollBar* bar, int action) {
    uint32_t request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollLineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollLineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollPageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollPageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollBottom;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollThumbTrack;
        break;
    default:
        return;
    }
    WParam position = WParam(uint16_t(bar->sliderPosition())) << 16;
    sendMessage(window, MsgVScroll, request | position, 0);
}
} // namespace

LParam packPoint(int x, int y) {
    return LParam((uint32_t(uint16_t(x))) | (uint32_t(uint16_t(y)) << 16));
}

uint32_t virtualKey(int key) {
    for (const KeyPair& k : kKeys) {
        if (k.qt == key) return k.code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return uint32_t(key);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return uint32_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return uint32_t(0x70 + key - Qt::Key_F1);
    return 0;
}

int qtKeyOf(uint32_t code) {
    for (const KeyPair& k : kKeys) {
        if (k.code == code) return k.qt;
    }
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return int(code);
    if (code >= 0x70 && code < 0x70 + 24) return Qt::Key_F1 + int(code - 0x70);
    return 0;
}

void connectScrollBar(PlatformWindow* window, QScrollBar* bar) {
    QObject::connect(bar, &QAbstractSlider::actionTriggered,
                     [window, bar](int action) { scrollRequest(window, bar, action); });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, [window, bar]() {
        WParam position = WParam(uint16_t(bar->sliderPosition())) << 16;
        sendMessage(window, MsgVScroll, ScrollThumbPosition | position, 0);
        sendMessage(window, MsgVScroll, ScrollEndScroll, 0);
    });
}
