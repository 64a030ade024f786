// Facts about the one book the reader carries.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kLessonCount = 53;
constexpr int kIndexBookNumber = 31767; // the section index (resource 32767)

// The resource that holds book number n: 1000 + n, in 16 bits.
constexpr uint16_t bookResourceId(int bookNumber) {
    return uint16_t(unsigned(bookNumber) + 1000u);
}
constexpr uint16_t kIndexResourceId = bookResourceId(kIndexBookNumber);

// Every book number the reader carries: the lessons 1..53, then the index (31767).
constexpr std::array<int, kLessonCount + 1> kBookNumbers = [] {
    std::array<int, kLessonCount + 1> numbers{};
    for (int n = 1; n <= kLessonCount; ++n)
        numbers[size_t(n - 1)] = n;
    numbers[kLessonCount] = kIndexBookNumber;
    return numbers;
}();

// The index's heading over the last part of the book, and the bookmark group's heading.
constexpr uint16_t kBookHeadingValue = 0xBFDA;     // heading, identifier 0x3FDA
constexpr uint16_t kBookmarkHeadingValue = 0x8877; // heading, identifier 0x0877

// The bookmark group's title: the word "סימן" (mark), four letters in the letter code, stored in
// display order like every Hebrew title.
constexpr char kBookmarkHeadingTitle[5] = {'p', 'o', 'j', 'r', 0};
