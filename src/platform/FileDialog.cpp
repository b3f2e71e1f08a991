#include "platform/FileDialog.h"

#include <cstdio>

namespace platform {

namespace {

FileDialogAsker* installed = nullptr;

class UnattendedFileDialog final : public FileDialogAsker {
public:
    std::optional<std::string> ask(const FileDialogRequest&) override
    {
        std::fprintf(stderr, "File dialog: no file dialog is installed; the choice is cancelled.\n");
        return std::nullopt;
    }
};

} // namespace

FileDialogAsker& fileDialogAsker()
{
    static UnattendedFileDialog unattended;
    return installed ? *installed : unattended;
}

void setFileDialogAsker(FileDialogAsker* asker) { installed = asker; }

std::optional<std::string> fileDialog(const FileDialogRequest& request)
{
    return fileDialogAsker().ask(request);
}

std::vector<std::pair<std::wstring, std::wstring>> filterEntries(const std::wstring& filter)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find(L'|', start);
        const std::size_t end = bar == std::wstring::npos ? filter.size() : bar;
        parts.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i].empty())
            entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

std::optional<std::string> RecordingFileDialogAsker::ask(const FileDialogRequest& request)
{
    asked.push_back(request);
    if (whileAsked)
        whileAsked();
    if (answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

ScopedFileDialogAsker::ScopedFileDialogAsker(FileDialogAsker& asker) : previous_(installed) { installed = &asker; }

ScopedFileDialogAsker::~ScopedFileDialogAsker() { installed = previous_; }

} // namespace platform
