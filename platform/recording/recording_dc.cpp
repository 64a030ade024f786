#include "platform/recording/recording_dc.h"

#include <algorithm>

#include "platform/dc_backend.h"

namespace {
int heightOf(FontHandle font) {
    return font->description.height > 0 ? font->description.height : 16;
}

struct RecordingDc : PlatformDc {
    std::vector<DrawOp> ops;
    int fixedAdvance = 0;

    TextMetrics metrics() override { return {heightOf(font), heightOf(font)}; }

    void advances(const char16_t*, int count, int* prefix) override {
        int advance = fixedAdvance > 0 ? fixedAdvance : std::max(heightOf(font) / 2, 1);
        for (int i = 0; i <= count; ++i)
            prefix[i] = i * advance;
    }

    DrawOp shape(DrawOp::Kind kind, const Rect& r) {
        DrawOp op{};
        op.kind = kind;
        op.rect = r;
        op.hollow = brush->hollow;
        op.brushColour = brush->colour;
        op.penWidth = pen->width;
        op.penColour = pen->colour;
        return op;
    }

    void text(const char16_t* units, int count, int x, int y, int width, int height) override {
        DrawOp op{};
        op.kind = DrawOp::Text;
        op.rect = {x, y, x + width, y + height};
        op.text.assign(units, units + count);
        op.textColour = textColour;
        op.backgroundColour = backgroundColour;
        op.font = font->description;
        ops.push_back(op);
    }
    void fill(const Rect& r, const PlatformBrush& b) override {
        DrawOp op = shape(DrawOp::Fill, r);
        op.hollow = b.hollow;
        op.brushColour = b.colour;
        op.penWidth = 0;
        ops.push_back(op);
    }
    void rectangle(const Rect& r) override { ops.push_back(shape(DrawOp::Rectangle, r)); }
    void roundRect(const Rect& r, int ew, int eh) override {
        DrawOp op = shape(DrawOp::RoundRect, r);
        op.ellipseWidth = ew;
        op.ellipseHeight = eh;
        ops.push_back(op);
    }
    void copyFrom(int x, int y, int width, int height, PlatformDc&, int, int) override {
        DrawOp op{};
        op.kind = DrawOp::Copy;
        op.rect = {x, y, x + width, y + height};
        ops.push_back(op);
    }
    Colour pixel(int, int) override { return 0xFFFFFF; }
    int save(const char*) override { return 1; }
};
} // namespace

DcHandle createRecordingDc(int advance) {
    auto* dc = new RecordingDc;
    dc->fixedAdvance = advance;
    initialiseDc(*dc);
    return dc;
}

const std::vector<DrawOp>& recordedOps(DcHandle dc) {
    return static_cast<RecordingDc*>(dc)->ops;
}

void clearRecordedOps(DcHandle dc) {
    static_cast<RecordingDc*>(dc)->ops.clear();
}
