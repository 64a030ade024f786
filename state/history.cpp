#include "state/history.h"

#include <cstdio>

namespace {
void push(History& h, Place place) {
    if (h.count == kHistoryCapacity) {
        for (int i = 1; i < h.count; ++i)
            h.places[i - 1] = h.places[i];
        --h.count;
    }
    h.places[h.count] = place;
    h.current = h.count++;
}

// Reads a decimal number of at most five digits; false when there is none.
bool readNumber(const char*& p, long* value) {
    long n = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 6) {
        n = n * 10 + (*p++ - '0');
        ++digits;
    }
    *value = n;
    return digits > 0 && digits < 6;
}
} // namespace

void historyJump(History& h, Place from, Place to) {
    if (h.count == 0 || !(h.places[h.current].lesson == from.lesson)) {
        // Nothing yet, or the entry being read is not where the reader is (a history read from
        // a file of another run): the place left starts a new branch after the current entry.
        if (h.count > 0) h.count = h.current + 1;
        if (h.count == 0 || !(h.places[h.current] == from)) push(h, from);
    } else {
        h.places[h.current] = from;
        h.count = h.current + 1;
    }
    if (!(h.places[h.current] == to)) push(h, to);
}

bool canStep(const History& h, int step) {
    int next = h.current + step;
    return h.count > 0 && next >= 0 && next < h.count;
}

bool historyStep(History& h, Place here, int step, Place* to) {
    if (!canStep(h, step)) return false;
    if (h.places[h.current].lesson == here.lesson) h.places[h.current] = here;
    h.current += step;
    *to = h.places[h.current];
    return true;
}

int formatHistory(const History& h, char* out, int size) {
    int length = 0;
    if (size > 0) out[0] = 0;
    for (int i = 0; i < h.count; ++i) {
        char entry[24];
        int n = std::snprintf(entry, sizeof entry, "%s%u:%u%s", i ? " " : "",
                              unsigned(h.places[i].lesson), unsigned(h.places[i].position),
                              i == h.current ? "*" : "");
        if (length + n >= size) break;
        for (int k = 0; k < n; ++k)
            out[length++] = entry[k];
        out[length] = 0;
    }
    return length;
}

bool parseHistory(const char* text, int lessonCount, History* history) {
    History h{};
    int marks = 0;
    bool bad = !text;
    const char* p = text;
    while (!bad && *p) {
        long lesson = 0, position = 0;
        bad = h.count == kHistoryCapacity || !readNumber(p, &lesson) || *p++ != ':' ||
              !readNumber(p, &position) || lesson < 1 || lesson > lessonCount || position > 65535;
        if (bad) break;
        if (*p == '*') {
            h.current = h.count;
            ++marks;
            ++p;
        }
        h.places[h.count++] = {uint16_t(lesson), uint16_t(position)};
        if (*p == ' ' && p[1]) {
            ++p;
        } else if (*p) {
            bad = true;
        }
    }
    bool good = !bad && h.count > 0 && marks == 1;
    *history = good ? h : History{};
    return good;
}
