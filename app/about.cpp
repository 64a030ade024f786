#include "app/about.h"

#include <cstdio>
#include <cstring>

#include "platform/window.h"
#include "resources/dialogs.h"
#include "resources/maker.h"
#include "state/state.h"

namespace {
void append(char16_t* buffer, int capacity, const char16_t* text) {
    int n = 0;
    while (buffer[n])
        ++n;
    for (; *text && n < capacity - 1; ++text)
        buffer[n++] = *text;
    buffer[n] = 0;
}
} // namespace

FontHandle makeLinkFont(WindowHandle dialog) {
    WindowHandle button = dialogItem(dialog, kAboutLinkId);
    if (!button) return nullptr;
    DcHandle dc = getWindowDc(button);
    FontDescription d = fontDescription(itemFont(button));
    d.underline = true;
    if (d.face[0] == 0) std::memcpy(d.face, u"Tahoma", sizeof(u"Tahoma"));
    if (d.height == 0) d.height = (10 * pixelsPerInchY(dc)) / 72;
    d.weight = 800;
    FontHandle font = createFont(d);
    if (!font) {
        releaseWindowDc(button, dc);
        return nullptr;
    }
    selectFont(dc, font);
    char16_t text[101];
    int n = getItemText(button, text, 101);
    setItemFont(button, font);
    int cx = 0, cy = 0;
    textExtent(dc, text, n, &cx, &cy);
    resizeItem(button, cx + 2 * systemMetric(Metric::EdgeWidth),
               cy + 2 * systemMetric(Metric::EdgeHeight));
    releaseWindowDc(button, dc);
    return font;
}

void drawLinkButton(WindowHandle dialog, int controlId, const DrawItem* item) {
    WindowHandle button = dialogItem(dialog, controlId);
    if (!button || !item) return;
    char16_t text[101];
    int n = getItemText(button, text, 101);
    setTextColour(item->dc, 0xFF0000);
    setBackgroundColour(item->dc, 0xFFFFFF);
    if (appState.aboutLinkFont) selectFont(item->dc, appState.aboutLinkFont);
    fillRect(item->dc, item->rect, getStockBrush(WhiteBrush));
    int w = 0, h = 0;
    textExtent(item->dc, text, n, &w, &h);
    int x = systemMetric(Metric::EdgeWidth) / 2;
    drawTextCell(item->dc, text, n, Rect{x, 0, x + w, h});
}

namespace {
void onCreated(WindowHandle dialog) {
    appState.aboutLinkFont = makeLinkFont(dialog);
}

void onDrawItem(WindowHandle dialog, const DrawItem& item) {
    drawLinkButton(dialog, item.controlId, &item);
}
} // namespace

int onAboutCommand(WindowHandle dialog, int item) {
    if (item == DialogOk || item == DialogCancel) {
        endDialog(dialog, item);
        deleteFont(appState.aboutLinkFont);
        appState.aboutLinkFont = nullptr;
        return 1;
    }
    if (item == kAboutLinkId) openHomePage(dialogItem(dialog, kAboutLinkId));
    return 0;
}

const WindowEvents kAboutDialogEvents = {
    .created = onCreated,
    .itemCommand = [](WindowHandle dialog, int item,
                      ItemNotification) { onAboutCommand(dialog, item); },
    .drawItem = onDrawItem,
};

void openHomePage(WindowHandle owner) {
    char16_t address[200] = {};
    append(address, 200, u"http://");
    append(address, 200, kMakerHomePage);
    openUrl(owner, address);
}

void appendEscaped(char16_t* buffer, int capacity, const char16_t* text) {
    for (const char16_t* c = text; *c; ++c) {
        char16_t one[2] = {*c, 0};
        bool plain = (*c >= u'0' && *c <= u'9') || (*c >= u'A' && *c <= u'Z') ||
                     (*c >= u'a' && *c <= u'z') || *c == u'.' || *c == u'/';
        if (*c == u' ') {
            append(buffer, capacity, u"+");
        } else if (plain) {
            append(buffer, capacity, one);
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%%%.2X", unsigned(*c));
            char16_t wide[16] = {};
            for (int i = 0; hex[i]; ++i)
                wide[i] = char16_t(hex[i]);
            append(buffer, capacity, wide);
        }
    }
}

void buildUpdateAddress(char16_t address[200]) {
    std::memset(address, 0, 200 * sizeof(char16_t));
    append(address, 200, u"http://");
    append(address, 200, kMakerWebHost);
    append(address, 200, u"/cgi-bin/upgrade?p=arm/");
    appendEscaped(address, 200, kProductPath);
    append(address, 200, u"&v=");
    append(address, 200, kProductVersion);
}

void checkForUpdates(WindowHandle owner) {
    char16_t address[200];
    buildUpdateAddress(address);
    openUrl(owner, address);
}

void openUrl(WindowHandle, const char16_t* address) {
    openAddress(address);
}

intptr_t runAboutDialog(WindowHandle owner) {
    return runDialog(&kAboutDialog, owner, &kAboutDialogEvents, nullptr);
}
