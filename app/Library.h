// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Libraries of sound, loaded when the game first makes a sound, not with the program: they
// and the many they stand on take longer to load than the window takes to show, and the game
// needs none of them before its first note.
#pragma once
#include <dlfcn.h>

#include <cstdio>

namespace tess {

// Loads the library of that name for the rest of the run; null, saying why, where it cannot.
inline void* openLibrary(const char* soname) {
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        std::fprintf(stderr, "Tessarin cannot use %s: %s\n", soname, why ? why : "not found");
        std::fflush(stderr);
    }
    return library;
}

// Sets `function` to the library's function of that name; false, saying so, where it lacks it.
template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function) {
        std::fprintf(stderr, "Tessarin cannot use a sound library that lacks %s\n", name);
        std::fflush(stderr);
    }
    return function != nullptr;
}

} // namespace tess

// Declares the struct `Type`, a member for each function that FUNCTIONS names (as F(PREFIX,
// name), the library's symbol being PREFIX##name), and `getter()`, which loads the library
// SONAME at its first call and resolves every function; `loaded` says whether all were found.
#define TESSARIN_LIBRARY_MEMBER(prefix, name) decltype(&::prefix##name) name = nullptr;
#define TESSARIN_LIBRARY_RESOLVE(prefix, name) &&tess::resolve(library, #prefix #name, found.name)
#define TESSARIN_LIBRARY(Type, getter, soname, FUNCTIONS)                                          \
    struct Type {                                                                                  \
        FUNCTIONS(TESSARIN_LIBRARY_MEMBER)                                                         \
        bool loaded = false;                                                                       \
    };                                                                                             \
    const Type& getter() {                                                                         \
        static const Type functions = [] {                                                         \
            Type found;                                                                            \
            void* library = tess::openLibrary(soname);                                             \
            found.loaded = library FUNCTIONS(TESSARIN_LIBRARY_RESOLVE);                            \
            return found;                                                                          \
        }();                                                                                       \
        return functions;                                                                          \
    }
