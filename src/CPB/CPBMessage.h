#pragma once
// The texts the controller transfer shows: translated, with the values put
// in for each "%s" in turn by hand (a translation stays a plain text, and a
// "%" in a name is just a character).

#include <initializer_list>
#include <string>

class CPBMessage {
public:
    static constexpr const char* DONE = "Transfer done.";
    static constexpr const char* FAILED = "An error occured, please try again.";

    static std::wstring text(const char* msgid, std::initializer_list<std::wstring> values = {});
    // The final text of a transfer: done, or the error with its cause on a
    // second line when one is known.
    static std::wstring outcome(bool succeeded, const std::wstring& cause);
    static std::wstring number(long long value) { return std::to_wstring(value); }
};
