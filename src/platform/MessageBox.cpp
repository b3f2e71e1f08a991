#include "platform/MessageBox.h"

#include <cstdio>

namespace platform {

namespace {
MessageAsker* installed = nullptr;

// Without a window system there is nobody to ask: say it on standard error
// and take the first button, which is the safe choice of every box the
// station shows.
class UnattendedAsker final : public MessageAsker {
public:
    int ask(const std::wstring& text, const std::wstring& caption, unsigned style) override
    {
        std::fprintf(stderr, "%ls: %ls\n", caption.c_str(), text.c_str());
        return firstButton(style);
    }
};
} // namespace

int firstButton(unsigned style)
{
    switch (style & 0xF) {
    case MB_OKCANCEL: return IDOK;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

MessageAsker& messageAsker()
{
    static UnattendedAsker unattended;
    return installed ? *installed : unattended;
}

void setMessageAsker(MessageAsker* asker) { installed = asker; }

int messageBox(const std::wstring& text, const std::wstring& caption, unsigned style)
{
    return messageAsker().ask(text, caption, style);
}

int RecordingMessageAsker::ask(const std::wstring& text, const std::wstring& caption, unsigned style)
{
    asked.push_back({text, caption, style});
    if (whileAsked) {
        // A copy: the function may ask boxes of its own.
        const Asked box = asked.back();
        whileAsked(box);
    }
    if (!answers.empty()) {
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return fallback >= 0 ? fallback : firstButton(style);
}

ScopedMessageAsker::ScopedMessageAsker(MessageAsker& asker) : previous_(installed) { installed = &asker; }

ScopedMessageAsker::~ScopedMessageAsker() { installed = previous_; }

} // namespace platform
