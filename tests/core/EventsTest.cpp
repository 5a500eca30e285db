// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The text form of the player's events, which storms and the fuzzer print for a test to play
// again: written exactly, read back as the same event, and every line that is no event
// refused with the reason, never read as another event.
#include "input/Events.h"
#include "input/KeyCodes.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

using namespace tess;

namespace tess {
// A failure shows an event in its text form.
void PrintTo(const Event& e, std::ostream* out) {
    *out << toText(e);
}
} // namespace tess

namespace {

// Every key the vocabulary names, every letter, and keys by number at and beyond the names.
std::vector<Event> everyKey() {
    std::vector<Event> keys;
    for (int code = 0; code <= 256; ++code)
        keys.push_back(Event::key(code));
    for (int code : {-1, 1000, INT_MIN, INT_MAX})
        keys.push_back(Event::key(code));
    return keys;
}

std::vector<Event> everyCommand() {
    std::vector<Event> commands;
    for (int code : {kCmdSoundOn, kCmdSoundOff, kCmdNotesToEnd, kCmdCutNotesShort, 0, -1,
                     kCmdSoundOn + 1, INT_MIN, INT_MAX})
        commands.push_back(Event::command(code));
    return commands;
}

std::vector<Event> clicksAtTheEdges() {
    std::vector<Event> clicks;
    for (int x : {0, 1, -1, 1015, 1016, INT_MIN, INT_MIN + 1, INT_MAX})
        for (int y : {0, -1, 699, 700, INT_MIN, INT_MAX})
            clicks.push_back(Event::click(x, y));
    return clicks;
}

// The event a line reads as, or the reason it gives.
std::string readAs(const std::string& line) {
    std::string why;
    const std::optional<Event> e = parseEvent(line, &why);
    return e ? toText(*e) : "refused: " + why;
}

} // namespace

TEST(EventText, IsWrittenInTheWordsATestPastes) {
    EXPECT_EQ(toText(Event::click(120, 340)), "click 120 340");
    EXPECT_EQ(toText(Event::click(-2, INT_MIN)), "click -2 -2147483648");
    EXPECT_EQ(toText(Event::key(vk::Return)), "key Enter");
    EXPECT_EQ(toText(Event::key(vk::End)), "key End");
    EXPECT_EQ(toText(Event::key(vk::Home)), "key Home");
    EXPECT_EQ(toText(Event::key(vk::F1)), "key F1");
    EXPECT_EQ(toText(Event::key('A')), "key A");
    EXPECT_EQ(toText(Event::key('Z')), "key Z");
    EXPECT_EQ(toText(Event::key('a')), "key 97");
    EXPECT_EQ(toText(Event::key(27)), "key 27");
    EXPECT_EQ(toText(Event::command(kCmdSoundOn)), "command SoundOn");
    EXPECT_EQ(toText(Event::command(kCmdSoundOff)), "command SoundOff");
    EXPECT_EQ(toText(Event::command(kCmdNotesToEnd)), "command NotesToEnd");
    EXPECT_EQ(toText(Event::command(kCmdCutNotesShort)), "command CutNotesShort");
    EXPECT_EQ(toText(Event::command(7)), "command 7");
    EXPECT_EQ(toText({Event::key(vk::End), Event::click(3, 4)}), "key End\nclick 3 4\n");
    EXPECT_EQ(toText(std::vector<Event>{}), "");
}

TEST(EventText, EveryEventReadsBackAsItself) {
    std::vector<Event> all = everyKey();
    for (const std::vector<Event>& more : {everyCommand(), clicksAtTheEdges()})
        all.insert(all.end(), more.begin(), more.end());
    for (const Event& e : all) {
        const std::string text = toText(e);
        std::string why;
        const std::optional<Event> back = parseEvent(text, &why);
        ASSERT_TRUE(back.has_value()) << text << ": " << why;
        EXPECT_EQ(*back, e) << text;
    }
    // All of them at once, as a storm prints them, with Windows line ends too.
    EXPECT_EQ(parseEvents(toText(all)), all);
    std::string crlf;
    for (const Event& e : all)
        crlf += toText(e) + "\r\n";
    EXPECT_EQ(parseEvents(crlf), all);
}

// Letter case, blanks, signs and leading zeros change nothing; the names are whole words.
TEST(EventText, WhatAPersonTypesReadsAsTheSameEvent) {
    EXPECT_EQ(readAs("  click\t120   340  "), "click 120 340");
    EXPECT_EQ(readAs("CLICK 120 340\r"), "click 120 340");
    EXPECT_EQ(readAs("click +5 -0"), "click 5 0");
    EXPECT_EQ(readAs("click 007 -0012"), "click 7 -12");
    EXPECT_EQ(readAs("click 2147483647 -2147483648"), "click 2147483647 -2147483648");
    EXPECT_EQ(readAs("Key end"), "key End");
    EXPECT_EQ(readAs("key ENTER"), "key Enter");
    EXPECT_EQ(readAs("key f1"), "key F1");
    EXPECT_EQ(readAs("key f"), "key F");
    EXPECT_EQ(readAs("key e"), "key E");
    EXPECT_EQ(readAs("key 69"), "key E");
    EXPECT_EQ(readAs("key 13"), "key Enter");
    EXPECT_EQ(readAs("command soundoff"), "command SoundOff");
    EXPECT_EQ(readAs("command 32775"), "command CutNotesShort");
    EXPECT_EQ(readAs("command\f-1\v"), "command -1");
}

// A line that is no event is refused, with the word at fault: never a nearby event, never a
// number cut short or wrapped round.
TEST(EventText, ALineThatIsNoEventIsRefusedWithTheReason) {
    using namespace std::literals;
    struct Case {
        std::string_view line;
        const char* reason;
    };
    const Case cases[] = {
        {"", "a blank line is no event"},
        {" \t\r", "a blank line is no event"},
        {"clik 1 2", "\"clik\" is no event"},
        {"clicks 1 2", "\"clicks\" is no event"},
        {"# click 1 2", "\"#\" is no event"},
        {"click 1", "two numbers after click"},
        {"click", "two numbers after click"},
        {"click 1 2 3", "two numbers after click"},
        {"click 1 2 # the red vertex", "two numbers after click"},
        {"click 1,2 3", "\"1,2\" is no whole number"},
        {"click 1 x", "\"x\" is no whole number"},
        {"click 1.5 2", "\"1.5\" is no whole number"},
        {"click 0x10 2", "\"0x10\" is no whole number"},
        {"click 1e3 2", "\"1e3\" is no whole number"},
        {"click - 2", "\"-\" is no whole number"},
        {"click ++5 2", "\"++5\" is no whole number"},
        {"click +-5 2", "\"+-5\" is no whole number"},
        {"click 5- 2", "\"5-\" is no whole number"},
        {"click 2147483648 0", "\"2147483648\" is beyond the numbers of 32 bits"},
        {"click 0 -2147483649", "\"-2147483649\" is beyond the numbers of 32 bits"},
        {"click 99999999999999999999999 0", "is beyond the numbers of 32 bits"},
        {"key", "one name after key"},
        {"key End now", "one name after key"},
        {"key Ent", "\"Ent\" is no key"},
        {"key En d", "one name after key"},
        {"key F2", "\"F2\" is no key"},
        {"key AB", "\"AB\" is no key"},
        {"key \xC3\xA9", "is no key"}, // a letter beyond A to Z, in UTF-8
        {"key \xE9", "is no key"},     // and in Latin-1
        {"key 4294967296", "\"4294967296\" is beyond the numbers of 32 bits"},
        {"key 1x", "\"1x\" is no whole number"},
        {"command", "one name after command"},
        {"command Sound", "\"Sound\" is no command"},
        {"command SoundOff now", "one name after command"},
        {"command 32771.0", "\"32771.0\" is no whole number"},
        {"click\0 1 2"sv, "is no event"},
    };
    for (const Case& c : cases) {
        const std::string line(c.line);
        std::string why;
        EXPECT_FALSE(parseEvent(line, &why).has_value()) << line;
        EXPECT_NE(why.find(c.reason), std::string::npos) << line << " -> " << why;
    }
    // Without a place for the reason, the same answer.
    EXPECT_FALSE(parseEvent("key Ent").has_value());
}

TEST(EventText, ALongTextSkipsCommentsAndBlankLinesAndNamesItsBadLine) {
    const std::string text = "# a Square from vertex 1\n"
                             "\n"
                             "click 10 20\r\n"
                             "   \t\n"
                             "  # End draws the frame\n"
                             "key End\n"
                             "command SoundOff"; // no line end after the last
    EXPECT_EQ(parseEvents(text), (std::vector<Event>{Event::click(10, 20), Event::key(vk::End),
                                                     Event::command(kCmdSoundOff)}));
    EXPECT_EQ(parseEvents(""), std::vector<Event>{});
    EXPECT_EQ(parseEvents("\n\n# nothing\n"), std::vector<Event>{});

    int bad = 0;
    std::string why;
    EXPECT_FALSE(parseEvents("key End\n\n# note\nclick 1 2\nkey Ent\nkey End\n", &bad, &why));
    EXPECT_EQ(bad, 5);
    EXPECT_EQ(why, "line 5: \"Ent\" is no key: a key is Enter, End, Home, F1, a letter A to Z or "
                   "the key's number");
    // The callers that want only the line number, or nothing, keep that.
    bad = 0;
    EXPECT_FALSE(parseEvents("click 1 2 3", &bad));
    EXPECT_EQ(bad, 1);
    EXPECT_FALSE(parseEvents("key\n"));
}
