// Search over a reading view on the recording surface (font size 16: 16-pixel lines, 8-pixel
// advances), without a window: the book is either the embedded one or lessons compiled from
// sources and served in its place.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "content/resource.h"
#include "dialogs/search.h"
#include "platform/message_box.h"
#include "tests/support/fixtures.h"
#include "tests/support/view_fixture.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/lesson_source.h"

// Where the view stands after a search: lesson, first highlighted byte, one past the last.
struct ShownHit {
    int lesson, start, end;
    bool operator==(const ShownHit&) const = default;
};

inline void PrintTo(const ShownHit& s, std::ostream* os) {
    *os << "{lesson " << s.lesson << ", " << s.start << ".." << s.end << "}";
}

class SearchTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        takeShownMessages();
    }
    void TearDown() override {
        appState.view = nullptr;
        serveEmbeddedBook();
        ViewTest::TearDown();
    }

    // The book becomes these lessons (number, source); every other lesson is missing.
    static void serveLessons(const std::vector<std::pair<int, std::string>>& lessons) {
        std::vector<std::pair<uint16_t, std::string>> resources;
        for (const auto& [number, source] : lessons) {
            std::vector<uint8_t> bytes;
            ASSERT_TRUE(BuildResource(uint16_t(number), uint16_t(number), records(source), bytes));
            resources.push_back({uint16_t(1000 + number), {bytes.begin(), bytes.end()}});
        }
        serveResources(resources);
    }

    // A lesson source's records, as its expanded buffer holds them (before the end mark).
    static std::string records(const std::string& source) {
        CompiledLesson lesson;
        SourceError error;
        EXPECT_TRUE(CompileLesson("fixture", source, lesson, error)) << error.describe();
        return lesson.records;
    }

    // Makes lesson `number` current and laid out in a width x height view that search uses.
    TextView* open(int number, int width = 240, int height = 160) {
        TextView_Destroy(view_);
        FontSpec chosen = font(16);
        Rect rect{0, 0, width, height};
        view_ = TextView_Create(dc_, &rect, &chosen, 100);
        appState.view = view_;
        appState.Lesson = uint16_t(number);
        uint8_t* text = LoadBookResource(number, nullptr);
        EXPECT_NE(text, nullptr) << "lesson " << number;
        if (text && TextView_SetText(view_, text, 0) != 0) {
            ADD_FAILURE() << "lesson " << number << " refused";
            plainFree(text);
        }
        return view_;
    }

    // The stored form (letter code, display order) of Hebrew written in reading order.
    static std::string stored(const std::string& hebrew) { return storedHebrew(hebrew); }

    static void setPattern(const std::string& bytes) {
        ASSERT_LE(bytes.size(), size_t(kMaxPatternLength));
        std::memset(appState.searchPattern, 0, sizeof appState.searchPattern);
        std::memcpy(appState.searchPattern, bytes.data(), bytes.size());
    }

    ShownHit shown() const { return {appState.Lesson, view_->highlightStart, view_->highlightEnd}; }
};
