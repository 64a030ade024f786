#include "platform/quit.h"

#include <QCoreApplication>

namespace {
bool gQuitPosted = false;
int gQuitCode = 0;
} // namespace

void postQuitMessage(int code) {
    gQuitPosted = true;
    gQuitCode = code;
    if (QCoreApplication::instance()) QCoreApplication::exit(code);
}

bool quitRequested(int* code) {
    if (code && gQuitPosted) *code = gQuitCode;
    return gQuitPosted;
}

void clearQuitRequest() {
    gQuitPosted = false;
}
