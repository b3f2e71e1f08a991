#pragma once
// Answers a tool-tip's request for its text. The text is copied into a buffer
// that this function owns and that stays valid until its next call, so the
// caller's text may go away at once.

#include <string>

namespace kova {

// The two kinds of request: narrow text (the station's ANSI code page) or wide text.
inline constexpr int TTN_NEEDTEXTA = -520;
inline constexpr int TTN_NEEDTEXTW = -530;

struct ToolTipTextRequest {
    int code = TTN_NEEDTEXTW;
    const char* text = nullptr;        // set for TTN_NEEDTEXTA
    const wchar_t* wideText = nullptr; // set for every other code
};

// At most this many bytes (narrow) or characters (wide) are kept, without the terminator.
inline constexpr std::size_t TOOLTIP_NARROW_LIMIT = 1023;
inline constexpr std::size_t TOOLTIP_WIDE_LIMIT = 511;

void setToolTipText(const std::wstring& text, ToolTipTextRequest& request);

} // namespace kova
