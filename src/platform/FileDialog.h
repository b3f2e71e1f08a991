#pragma once
// The open and save file dialogs behind one small interface: the windowed
// program installs the Qt dialogs, tests install one that answers at once and
// records what was asked.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Options with the values the station's code was written against.
enum FileDialogOption : unsigned {
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_FILEMUSTEXIST = 0x1000,
};

struct FileDialogRequest {
    bool save = false;
    std::wstring title;
    // Pairs of a name and its patterns, each ended by "|", as in
    // "Session database (*.sdb)|*.sdb|".
    std::wstring filter;
    // Added to a chosen name that has no extension.
    std::string defaultExtension;
    std::string initialName;
    unsigned options = 0;
};

class FileDialogAsker {
public:
    virtual ~FileDialogAsker() = default;
    // The chosen file's path, or nothing when the user cancelled.
    virtual std::optional<std::string> ask(const FileDialogRequest& request) = 0;
};

// The asker in force. Without an installed one nobody can be asked: the
// request is written to the error log and answered as cancelled.
FileDialogAsker& fileDialogAsker();
// Installs an asker (null restores the default); the caller keeps ownership.
void setFileDialogAsker(FileDialogAsker* asker);

// Shorthand for fileDialogAsker().ask.
std::optional<std::string> fileDialog(const FileDialogRequest& request);

// The patterns of a filter as name and pattern pairs.
std::vector<std::pair<std::wstring, std::wstring>> filterEntries(const std::wstring& filter);

// An asker for tests: records every request and answers from a queue (then
// cancels); `whileAsked` runs inside each dialog, as the user's browsing would.
class RecordingFileDialogAsker final : public FileDialogAsker {
public:
    std::optional<std::string> ask(const FileDialogRequest& request) override;

    std::vector<FileDialogRequest> asked;
    std::vector<std::optional<std::string>> answers; // answered front first
    std::function<void()> whileAsked;
};

// Installs an asker for the life of the object and restores the previous one.
class ScopedFileDialogAsker {
public:
    explicit ScopedFileDialogAsker(FileDialogAsker& asker);
    ~ScopedFileDialogAsker();
    ScopedFileDialogAsker(const ScopedFileDialogAsker&) = delete;
    ScopedFileDialogAsker& operator=(const ScopedFileDialogAsker&) = delete;

private:
    FileDialogAsker* previous_;
};

} // namespace platform
