// A reading view over a lesson compiled from source, drawing on the recording surface:
// font size 16 gives 16-pixel lines with 8-pixel advances, small type 12 (6), large 20 (10).
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/recording/recording_dc.h"
#include "state/state.h"
#include "tools/bookc/lesson_source.h"
#include "view/letters.h"
#include "view/text_view.h"

class ViewTest : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        dc_ = createRecordingDc(advance_);
    }
    void TearDown() override {
        TextView_Destroy(view_);
        deleteDc(dc_);
        plainFree(appState.letterConversion.convBuffer);
        appState.letterConversion = LetterConversion{};
    }

    // The lesson's records, in a buffer padded as LoadBookResource pads it.
    static uint8_t* lessonBuffer(const std::string& source) {
        CompiledLesson lesson;
        SourceError error;
        EXPECT_TRUE(CompileLesson("fixture", source, lesson, error)) << error.describe();
        auto* buffer = static_cast<uint8_t*>(plainAlloc(lesson.records.size() + 8));
        std::memcpy(buffer, lesson.records.data(), lesson.records.size());
        std::memset(buffer + lesson.records.size(), 0, 8);
        return buffer;
    }

    FontSpec font(int size, int base = 1488) {
        FontSpec chosen{};
        std::memcpy(chosen.FontName, u"Test Face", sizeof(u"Test Face"));
        chosen.FontSize = size;
        chosen.FontAsciiBase = base;
        appState.fontSpec = chosen;
        return chosen;
    }

    // Lays `source` out in a width x height area at (left, top).
    TextView* layout(const std::string& source, int width, int height = 400, int size = 16,
                     int left = 0, int top = 0) {
        TextView_Destroy(view_);
        FontSpec chosen = font(size);
        Rect rect{left, top, left + width, top + height};
        view_ = TextView_Create(dc_, &rect, &chosen, 100);
        EXPECT_NE(view_, nullptr);
        uint8_t* text = lessonBuffer(source);
        int result = TextView_SetText(view_, text, 0);
        EXPECT_EQ(result, 0);
        if (result != 0) plainFree(text);
        return view_;
    }

    std::vector<LineRecord> lines() const {
        return {view_->lines, view_->lines + view_->lineCount};
    }

    std::vector<DrawOp> ops(DrawOp::Kind kind) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : recordedOps(dc_)) {
            if (op.kind == kind) out.push_back(op);
        }
        return out;
    }

    int advance_ = 0;
    DcHandle dc_ = nullptr;
    TextView* view_ = nullptr;
};

inline bool operator==(const LineRecord& a, const LineRecord& b) {
    return a.start == b.start && a.length == b.length && a.x == b.x &&
           a.labelWidth == b.labelWidth && a.width == b.width && a.height == b.height &&
           a.linkNumber == b.linkNumber && a.style == b.style;
}

inline void PrintTo(const LineRecord& l, std::ostream* os) {
    *os << "{start " << l.start << ", length " << l.length << ", x " << l.x << ", label "
        << l.labelWidth << ", width " << l.width << ", height " << l.height << ", link "
        << l.linkNumber << ", style 0x" << std::hex << int(l.style) << std::dec << "}";
}

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
