// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "input/Events.h"

#include "input/KeyCodes.h"

#include <charconv>
#include <span>
#include <utility>

namespace tess {

namespace {

struct Name {
    int code;
    const char* text;
};
constexpr Name kKeyNames[] = {
    {vk::Return, "Enter"}, {vk::End, "End"}, {vk::Home, "Home"}, {vk::F1, "F1"}};
constexpr Name kCommandNames[] = {{kCmdSoundOn, "SoundOn"},
                                  {kCmdSoundOff, "SoundOff"},
                                  {kCmdNotesToEnd, "NotesToEnd"},
                                  {kCmdCutNotesShort, "CutNotesShort"}};

// Letter case and blanks as plain ASCII, whatever the C library's locale says of other bytes.
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

constexpr std::string_view kBlanks = " \t\r\v\f";

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

// A whole number of 32 bits, in decimal, with an optional sign; else nothing, with why.
std::optional<int> number(std::string_view word, std::string* why) {
    std::string_view digits = word;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    int value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, error] = std::from_chars(digits.data(), end, value);
    if (error == std::errc::result_out_of_range && ptr == end) {
        if (why) *why = quoted(word) + " is beyond the numbers of 32 bits";
        return std::nullopt;
    }
    if (error != std::errc() || ptr != end) {
        if (why) *why = quoted(word) + " is no whole number";
        return std::nullopt;
    }
    return value;
}

// A word meant as a number, which is read as one or refused as one.
bool looksLikeNumber(std::string_view word) {
    return word[0] == '-' || word[0] == '+' || (word[0] >= '0' && word[0] <= '9');
}

// The words of a line, split at blanks.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while ((i = line.find_first_not_of(kBlanks, i)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(kBlanks, i); // npos: the line's end
        out.push_back(line.substr(i, end - i));
        i = end;
    }
    return out;
}

// The code a word gives a key or a command: one of its names, for a key a letter A to Z too,
// or its number; else nothing, with why (`refusal` says what the word may be).
std::optional<int> codeOf(std::string_view word, std::span<const Name> names, bool letters,
                          const char* refusal, std::string* why) {
    for (const Name& n : names)
        if (sameWord(word, n.text)) return n.code;
    const char letter = letters && word.size() == 1 ? lowerAscii(word[0]) : 0;
    if (letter >= 'a' && letter <= 'z') return vk::A + (letter - 'a');
    if (looksLikeNumber(word)) return number(word, why);
    if (why) *why = quoted(word) + refusal;
    return std::nullopt;
}

} // namespace

std::string toText(const Event& e) {
    switch (e.kind) {
    case Event::Kind::Click:
        return "click " + std::to_string(e.x) + " " + std::to_string(e.y);
    case Event::Kind::Key:
        for (const Name& n : kKeyNames)
            if (n.code == e.code) return std::string("key ") + n.text;
        if (e.code >= vk::A && e.code <= vk::Z) return std::string("key ") + char(e.code);
        return "key " + std::to_string(e.code);
    case Event::Kind::Command:
        for (const Name& n : kCommandNames)
            if (n.code == e.code) return std::string("command ") + n.text;
        return "command " + std::to_string(e.code);
    }
    return {};
}

std::string toText(const std::vector<Event>& events) {
    std::string text;
    for (const Event& e : events)
        text += toText(e) + "\n";
    return text;
}

std::optional<Event> parseEvent(std::string_view line, std::string* why) {
    const std::vector<std::string_view> w = words(line);
    const auto refuse = [&](std::string reason) -> std::optional<Event> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    if (w.empty()) return refuse("a blank line is no event");
    const std::string_view kind = w[0];
    if (sameWord(kind, "click")) {
        if (w.size() != 3) return refuse("a click is \"click X Y\", two numbers after click");
        const auto x = number(w[1], why);
        if (!x) return std::nullopt;
        const auto y = number(w[2], why);
        if (!y) return std::nullopt;
        return Event::click(*x, *y);
    }
    if (sameWord(kind, "key")) {
        if (w.size() != 2) return refuse("a key is \"key NAME\", one name after key");
        const auto code = codeOf(w[1], kKeyNames, true,
                                 " is no key: a key is Enter, End, Home, F1, a letter A to Z or "
                                 "the key's number",
                                 why);
        if (!code) return std::nullopt;
        return Event::key(*code);
    }
    if (sameWord(kind, "command")) {
        if (w.size() != 2) return refuse("a command is \"command NAME\", one name after command");
        const auto code = codeOf(w[1], kCommandNames, false,
                                 " is no command: a command is SoundOn, SoundOff, NotesToEnd, "
                                 "CutNotesShort or the command's number",
                                 why);
        if (!code) return std::nullopt;
        return Event::command(*code);
    }
    return refuse(quoted(kind) + " is no event: an event is click, key or command");
}

std::optional<std::vector<Event>> parseEvents(std::string_view text, int* badLine,
                                              std::string* why) {
    std::vector<Event> events;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const std::vector<std::string_view> w = words(line);
        if (w.empty() || w[0].front() == '#') continue;
        std::string reason;
        const std::optional<Event> e = parseEvent(line, &reason);
        if (!e) {
            if (badLine) *badLine = lineNumber;
            if (why) *why = "line " + std::to_string(lineNumber) + ": " + reason;
            return std::nullopt;
        }
        events.push_back(*e);
    }
    return events;
}

void apply(CMekkView& view, const Event& e) {
    switch (e.kind) {
    case Event::Kind::Click:
        view.OnLButtonDown(e.x, e.y);
        break;
    case Event::Kind::Key:
        view.OnKeyDown(e.code);
        break;
    case Event::Kind::Command:
        // As the menu: an item that would change nothing is greyed and runs nothing.
        if (view.isCommandEnabled(e.code)) view.OnCommand(e.code);
        break;
    }
}

} // namespace tess
