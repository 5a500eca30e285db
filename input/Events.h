// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The player's events in one vocabulary: a click, a key or a Sound command, with a text form
// and one way to give it to the view. The storms, the fuzzer and the tests' driver all play
// events; a storm or fuzz input that breaks the game prints its events as text, one a line,
// which pastes into a test that plays them again.
#pragma once
#include "game/CMekkView.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

struct Event {
    enum class Kind { Click, Key, Command };
    Kind kind = Kind::Click;
    int x = 0, y = 0; // a click, in canvas pixels
    int code = 0;     // a key (input/KeyCodes.h) or a Sound command

    static Event click(int x, int y) { return {Kind::Click, x, y, 0}; }
    static Event key(int code) { return {Kind::Key, 0, 0, code}; }
    static Event command(int code) { return {Kind::Command, 0, 0, code}; }
    friend bool operator==(const Event&, const Event&) = default;
};

// "click X Y", "key NAME" (Enter, End, Home, F1, A to Z, or the key's number) or "command
// NAME" (SoundOn, SoundOff, NotesToEnd, CutNotesShort, or the command's number).
std::string toText(const Event& event);
// Events one a line, each line ending in '\n'.
std::string toText(const std::vector<Event>& events);
// One event from its text form. Words are separated by blanks (spaces, tabs, carriage
// returns); the words click, key and command and the names are read in any letter case, and a
// number may carry a sign. Nothing for a line that is no event, with why, naming the word at
// fault, in *why: an unknown word, a missing or extra word, a number that is no whole number
// or lies beyond 32 bits. Nothing is ever guessed.
std::optional<Event> parseEvent(std::string_view line, std::string* why = nullptr);
// Events one a line; blank lines and lines whose first word starts with '#' are skipped.
// Nothing when a line is no event, with its number (from 1) in *badLine and "line N: " and
// why in *why.
std::optional<std::vector<Event>> parseEvents(std::string_view text, int* badLine = nullptr,
                                              std::string* why = nullptr);

// Gives the event to the view as the shell does: a click or a key to its handler, a Sound
// command only while its menu item is enabled.
void apply(CMekkView& view, const Event& event);

} // namespace tess
