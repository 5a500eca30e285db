#include "input/Events.h"

#include "input/KeyCodes.h"

#include <cctype>
#include <charconv>

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

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<int> number(std::string_view word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// The words of a line, split at spaces and tabs.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r')
            ++j;
        if (j > i) out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

std::optional<int> keyCode(std::string_view word) {
    for (const Name& n : kKeyNames)
        if (sameWord(word, n.text)) return n.code;
    if (word.size() == 1 && std::isalpha(static_cast<unsigned char>(word[0])))
        return vk::A + (std::toupper(static_cast<unsigned char>(word[0])) - 'A');
    return number(word);
}

std::optional<int> commandCode(std::string_view word) {
    for (const Name& n : kCommandNames)
        if (sameWord(word, n.text)) return n.code;
    return number(word);
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

std::optional<Event> parseEvent(std::string_view line) {
    const std::vector<std::string_view> w = words(line);
    if (w.empty()) return std::nullopt;
    if (sameWord(w[0], "click") && w.size() == 3) {
        const auto x = number(w[1]), y = number(w[2]);
        if (x && y) return Event::click(*x, *y);
    } else if (sameWord(w[0], "key") && w.size() == 2) {
        if (const auto code = keyCode(w[1])) return Event::key(*code);
    } else if (sameWord(w[0], "command") && w.size() == 2) {
        if (const auto code = commandCode(w[1])) return Event::command(*code);
    }
    return std::nullopt;
}

std::optional<std::vector<Event>> parseEvents(std::string_view text, int* badLine) {
    std::vector<Event> events;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const std::vector<std::string_view> w = words(line);
        if (w.empty() || w[0].front() == '#') continue;
        const std::optional<Event> e = parseEvent(line);
        if (!e) {
            if (badLine) *badLine = lineNumber;
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
