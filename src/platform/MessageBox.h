#pragma once
// Message boxes behind one small interface: the windowed program installs a
// Qt asker, tests install one that answers at once and records what was asked.

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Buttons and icons, with the values the station's code was written against.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};

enum MessageBoxResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

class MessageAsker {
public:
    virtual ~MessageAsker() = default;
    // Shows the text and answers the button chosen (a MessageBoxResult).
    virtual int ask(const std::wstring& text, const std::wstring& caption, unsigned style) = 0;
};

// The asker in force. Without an installed one, boxes are written to the error
// log and answered with the first button of their style.
MessageAsker& messageAsker();
// Installs an asker (null restores the default); the caller keeps ownership.
void setMessageAsker(MessageAsker* asker);

// Shorthand for messageAsker().ask.
int messageBox(const std::wstring& text, const std::wstring& caption = L"Kova CPR Software",
               unsigned style = MB_OK);

// The first button of a style: what a box answers when nobody is there to ask.
int firstButton(unsigned style);

// An asker for tests: records every box and answers from a queue (then
// `fallback`); `whileAsked`, when set, runs as each box stands open (to look
// at the program meanwhile).
class RecordingMessageAsker final : public MessageAsker {
public:
    struct Asked {
        std::wstring text;
        std::wstring caption;
        unsigned style;
    };
    int ask(const std::wstring& text, const std::wstring& caption, unsigned style) override;

    std::vector<Asked> asked;
    std::vector<int> answers;   // answered front first
    int fallback = -1;          // -1: the first button of the style
    std::function<void(const Asked&)> whileAsked;
};

// Installs an asker for the life of the object and restores the previous one.
class ScopedMessageAsker {
public:
    explicit ScopedMessageAsker(MessageAsker& asker);
    ~ScopedMessageAsker();
    ScopedMessageAsker(const ScopedMessageAsker&) = delete;
    ScopedMessageAsker& operator=(const ScopedMessageAsker&) = delete;

private:
    MessageAsker* previous_;
};

} // namespace platform
