// The --search mode: its arguments, and the hits it prints against the embedded book.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/search_command.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "tests/support/process.h"
#include "tools/bookc/hebrew_text.h"

namespace {
bool parse(std::vector<std::string> args, SearchCommand& c, std::string& error) {
    args.insert(args.begin(), "--search");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return parseSearchCommand(int(argv.size()), argv.data(), c, error);
}

TEST(SearchCommand, Arguments) {
    SearchCommand c;
    std::string error;
    ASSERT_TRUE(
        parse({"א?ב *", "--from", "12:40", "--again", "3", "--width", "300", "--height", "200",
               "--font", "Miriam Mono CLM", "--size", "20", "--base", "224", "--book", "b.bundle"},
              c, error))
        << error;
    EXPECT_EQ(c.word, u"\u05D0?\u05D1 *");
    EXPECT_EQ(c.view.lesson, 12);
    EXPECT_EQ(c.view.top, 40);
    EXPECT_EQ(c.again, 3);
    EXPECT_EQ(c.view.width, 300);
    EXPECT_EQ(c.view.height, 200);
    EXPECT_EQ(c.view.face, u"Miriam Mono CLM");
    EXPECT_EQ(c.view.size, 20);
    EXPECT_EQ(c.view.base, 224);
    EXPECT_EQ(c.view.book, "b.bundle");

    ASSERT_TRUE(parse({"--from", "7", "שלום"}, c, error)) << error;
    EXPECT_EQ(c.view.lesson, 7);
    EXPECT_EQ(c.view.top, 0);
    ASSERT_TRUE(parse({"שלום"}, c, error));
    EXPECT_EQ(c.view.lesson, 1);
    EXPECT_EQ(c.again, 1);
    EXPECT_EQ(c.view.width, 480);
    EXPECT_EQ(c.view.height, 640);

    // Pointed words, as the dialog takes them: the points are dropped, and only the letters
    // count towards the 33.
    std::string pointed33;
    for (int i = 0; i < 33; ++i)
        pointed33 += "בָּ";
    for (const std::string& word : {std::string("מֹשֶׁה"), std::string("שָׁלוֹם עֲלֵיכֶם"),
                                    std::string("בְּנֵי־יִשְׂרָאֵל׃"), std::string("רש״י"), pointed33}) {
        EXPECT_TRUE(parse({word}, c, error)) << word << ": " << error;
    }
    std::string tooLong;
    for (int i = 0; i < 34; ++i)
        tooLong += "א";
    struct Bad {
        std::vector<std::string> args;
        const char* message;
    } bad[] = {
        {{}, "what to search for"},
        {{""}, "Hebrew letters"},
        {{"abc"}, "Hebrew letters"},
        {{"שלום1"}, "Hebrew letters"},
        {{tooLong}, "1 to 33"},
        {{pointed33 + "ב"}, "1 to 33"},
        {{"\u05B8\u05BC"}, "1 to 33"}, // points alone
        {{"\xD7"}, "Hebrew letters"},  // not UTF-8
        {{"שלום", "שלום"}, "unknown argument"},
        {{"שלום", "--from"}, "--from needs"},
        {{"שלום", "--from", "0"}, "--from needs"},
        {{"שלום", "--from", "3:x"}, "--from needs"},
        {{"שלום", "--again", "0"}, "--again needs"},
        {{"שלום", "--top", "3"}, "unknown argument"},
        {{"שלום", "--reverse"}, "unknown argument"},
        {{"שלום", "--base", "100"}, "97, 224 or 1488"},
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(parse(b.args, c, error)) << b.message;
        EXPECT_NE(error.find(b.message), std::string::npos) << error;
    }
}

struct Printed {
    int lesson, topLine, start, end;
};

std::vector<Printed> hits(const std::string& out) {
    std::vector<Printed> list;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Printed p{};
        EXPECT_TRUE(fields >> p.lesson >> p.topLine >> p.start >> p.end) << line;
        list.push_back(p);
    }
    return list;
}

TEST(SearchCommand, PrintsEachHit) {
    std::u32string written;
    ASSERT_TRUE(decodeUtf8("משה", written, nullptr));
    std::string word;
    TextError error;
    ASSERT_TRUE(HebrewToStored(written, word, error));

    Outcome o = runProgram("VERSEWELL", "--search משה --from 53:0 --again 4 --size 16");
    ASSERT_EQ(o.status, 0) << o.err;
    std::vector<Printed> list = hits(o.out);
    ASSERT_EQ(list.size(), 4u);
    for (const Printed& p : list) {
        uint8_t* text = LoadBookResource(p.lesson, nullptr);
        ASSERT_NE(text, nullptr) << p.lesson;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(text) + p.start, size_t(p.end - p.start)),
                  word);
        plainFree(text);
    }
    EXPECT_TRUE(list[0].lesson == 53 || list[0].lesson == 1) << "from lesson 53 on";
    EXPECT_TRUE(list[1].lesson != list[0].lesson || list[1].start != list[0].start);

    // A pointed word finds what the same letters find.
    Outcome pointed = runProgram("VERSEWELL", "--search מֹשֶׁה --from 53:0 --again 4 --size 16");
    EXPECT_EQ(pointed.status, 0) << pointed.err;
    EXPECT_EQ(pointed.out, o.out);

    o = runProgram("VERSEWELL", "--search 'ץץץ ץ*ץ'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("Not Found!"), std::string::npos) << o.err;

    o = runProgram("VERSEWELL", "--search abc");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("usage:"), std::string::npos) << o.err;
    o = runProgram("VERSEWELL", "--search משה --from 54");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("--from needs a lesson from 1 to 53"), std::string::npos) << o.err;
}
} // namespace

// --all lists exactly the hits that Search Again steps through from lesson 1 until it comes
// round to the first again, exact and forgiving; --backward walks the same hits the other way.
// (Words with '*' are left out: a '*' hit whose top lies in a label word is shown on the line
// below the label, and Search Again then starts from that line's top, inside the hit.)
TEST(SearchCommand, AllListsTheHitsSearchAgainWalksThrough) {
    struct Case {
        const char* word;
        bool forgivingFindsMore; // a final or medial form the other spelling adds hits to
    } cases[] = {{"שלום", true}, {"משה", false}, {"מ?ם", true}, {"אלוהים", false}};
    for (const Case& c : cases) {
        for (const char* mode : {"", " --exact"}) {
            SCOPED_TRACE(std::string(c.word) + mode);
            Outcome all =
                runProgram("VERSEWELL", std::string("--search ") + c.word + " --all" + mode);
            ASSERT_EQ(all.status, 0) << all.err;
            std::vector<Printed> listed = hits(all.out);
            ASSERT_GT(listed.size(), 3u);
            std::istringstream lines(all.out);
            for (std::string line; std::getline(lines, line);) {
                size_t open = line.find("\u00BB"), close = line.find("\u00AB");
                EXPECT_TRUE(open != std::string::npos && close > open) << line;
            }
            Outcome walk =
                runProgram("VERSEWELL", std::string("--search ") + c.word + mode + " --again " +
                                            std::to_string(listed.size() + 1));
            ASSERT_EQ(walk.status, 0) << walk.err;
            std::vector<Printed> walked = hits(walk.out);
            ASSERT_EQ(walked.size(), listed.size() + 1);
            for (size_t i = 0; i < listed.size(); ++i) {
                EXPECT_EQ(
                    std::tie(walked[i].lesson, walked[i].topLine, walked[i].start, walked[i].end),
                    std::tie(listed[i].lesson, listed[i].topLine, listed[i].start, listed[i].end))
                    << "hit " << i;
            }
            EXPECT_EQ(walked.back().start, listed.front().start) << "round to the first again";

            // Backwards from the last hit's place: the hits before it, last first.
            const Printed& last = listed.back();
            Outcome back =
                runProgram("VERSEWELL", std::string("--search ") + c.word + mode +
                                            " --backward --from " + std::to_string(last.lesson) +
                                            ":" + std::to_string(last.topLine) + " --again 3");
            ASSERT_EQ(back.status, 0) << back.err;
            std::vector<Printed> before = hits(back.out);
            ASSERT_EQ(before.size(), 3u);
            // From the top line of the last hit, with no hit shown: the hit before the top
            // line is one of those listed before the last, then each the one before it.
            auto at = std::find_if(listed.begin(), listed.end(), [&](const Printed& p) {
                return p.lesson == before[0].lesson && p.start == before[0].start;
            });
            ASSERT_NE(at, listed.end());
            ASSERT_GE(at - listed.begin(), 2);
            EXPECT_EQ(before[1].start, (at - 1)->start);
            EXPECT_EQ(before[2].start, (at - 2)->start);
        }
        Outcome exact =
            runProgram("VERSEWELL", std::string("--search ") + c.word + " --all --exact");
        Outcome forgiving = runProgram("VERSEWELL", std::string("--search ") + c.word + " --all");
        size_t e = hits(exact.out).size(), f = hits(forgiving.out).size();
        if (c.forgivingFindsMore) {
            EXPECT_GT(f, e) << c.word;
        } else {
            EXPECT_EQ(f, e) << c.word;
        }
    }
    Outcome bad = runProgram("VERSEWELL", "--search משה --all --again 2");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--all lists the whole book"), std::string::npos) << bad.err;
}
