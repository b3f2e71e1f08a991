#pragma once
// Which texts the records can hold: UTF-8 without a NUL character. A NUL
// would cut the text short in one engine's driver, and bytes that are not
// UTF-8 are stored by one engine and refused by another, so both are turned
// away before any statement runs, with the same message on every engine.

#include <string_view>

// The message of a refused text, as the database error box shows it.
inline constexpr const char* UNSTORABLE_TEXT_ERROR =
    "A text holds a NUL character or bytes that are not UTF-8, which the records cannot store.\n";

// True for well-formed UTF-8 (code points up to U+10FFFF, no surrogates, no
// overlong forms) holding no NUL character.
bool isStorableText(std::string_view text);
