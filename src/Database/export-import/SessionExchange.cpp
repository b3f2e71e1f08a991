#include "Database/export-import/SessionExchange.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/SqlIdentifier.h"
#include "Database/export-import/DataFileContents.h"
#include "Database/export-import/SessionFile.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Rodezir/DateText.h"
#include "Rodezir/LogStream.h"
#include "gettext/Gettext.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <optional>

namespace {

const wchar_t* const FILTER_PATTERN = L"*.sdb";

std::wstring translated(const char* text) { return Gettext::translate(text); }

void tell(const std::wstring& text, const char* caption, unsigned icon)
{
    platform::messageBox(text, translated(caption), platform::MB_OK | icon);
}

// "<text><serial>. Skipping session." for the session's own error box.
void tellSkipped(const char* text, const std::string& serial, const char* caption)
{
    tell(translated(text) + cstringToWide(serial) + translated(". Skipping session."), caption,
         platform::MB_ICONERROR);
}

// The working directory as it was before a file dialog, given back after it
// whatever the user browsed through.
class KeptWorkingDirectory {
public:
    KeptWorkingDirectory()
    {
        std::error_code error;
        folder_ = std::filesystem::current_path(error);
        KOVA_ASSERT(!error);
    }
    ~KeptWorkingDirectory()
    {
        if (folder_.empty())
            return;
        std::error_code error;
        std::filesystem::current_path(folder_, error);
        KOVA_ASSERT(!error);
    }
    KeptWorkingDirectory(const KeptWorkingDirectory&) = delete;
    KeptWorkingDirectory& operator=(const KeptWorkingDirectory&) = delete;

private:
    std::filesystem::path folder_;
};

std::optional<std::string> chooseFile(bool save, const char* title)
{
    platform::FileDialogRequest request;
    request.save = save;
    request.title = translated(title);
    request.filter = translated("Session database (*.sdb)") + L"|" + FILTER_PATTERN + L"|";
    request.defaultExtension = SessionExchange::EXTENSION;
    request.options = platform::OFN_HIDEREADONLY | (save ? platform::OFN_OVERWRITEPROMPT : platform::OFN_FILEMUSTEXIST);
    KeptWorkingDirectory kept;
    return platform::fileDialog(request);
}

// "Date:\t\t2024-11-05\r\n": the label translated, the value as it stands.
std::wstring questionLine(const char* label, const wchar_t* separator, const std::string& value)
{
    return translated(label) + L":" + separator + cstringToWide(value) + L"\r\n";
}

} // namespace

SessionExchange::SessionExchange() : table_(theDatabase)
{
    // Only new rows are added through this table; it reads none.
    table_.open("1 = 0");
}

SessionExchange::~SessionExchange() = default;

bool SessionExchange::collect(const std::string& serial, SessionRecord& record)
{
    SessionTable row(theDatabase);
    row.open(quoteIdentifier("Serialidentifier") + " = ?", {serial});
    if (!row.isOpen || DBUtil::emptyTable(row)) {
        LogStream::instance() << "Export: session " << serial << " is no longer stored; left out.\n";
        return false;
    }
    record = row.getRecord();
    switch (DataFileContents::read(record.dataFileName(), record.data)) {
    case DataFileContents::ReadResult::Read:
        return true;
    case DataFileContents::ReadResult::CannotOpen:
        tellSkipped("Could not open datafile for session ", record.Serialidentifier, "Export session");
        return false;
    case DataFileContents::ReadResult::ReadError:
        tellSkipped("An error occurred while reading datafile for session ", record.Serialidentifier,
                    "Export session");
        return false;
    }
    return false;
}

void SessionExchange::exportSessions(const std::vector<std::string>& serials)
{
    if (serials.empty()) {
        tell(translated("Please choose one or more sessions to export."), "Export sessions",
             platform::MB_ICONEXCLAMATION);
        return;
    }
    std::vector<SessionRecord> sessions;
    for (const std::string& serial : serials) {
        SessionRecord record(SessionRecord::Unstamped{});
        if (collect(serial, record))
            sessions.push_back(std::move(record));
    }
    if (sessions.empty())
        return;
    const std::optional<std::string> path = chooseFile(true, "Export sessions");
    if (!path)
        return;
    SessionFile::write(*path, sessions);
}

std::wstring SessionExchange::alreadyExistsText(const SessionRecord& record)
{
    std::string date = kova::isoDateToText(record.CourseDate);
    if (date.empty())
        date = record.CourseDate;
    std::wstring text = translated("One of the chosen sessions already exists in the databae.") + L"\r\n"
                        + translated("Continue importing this session?") + L"\r\n\r\n";
    text += questionLine("Date", L"\t\t", date);
    const struct {
        const char* label;
        const std::string& value;
    } lines[] = {{"Compression", record.PersonChestCompression},
                 {"Ventilation", record.PersonVentilation},
                 {"Course Instructor", record.CourseInstructor},
                 {"Approved by", record.ApprovedBy}};
    for (const auto& line : lines) {
        if (!line.value.empty())
            text += questionLine(line.label, L"\t", line.value);
    }
    text += L"\r\n" + translated("Choose yes if you would like to duplicate this session.") + L"\r\n"
            + translated("Choose no if you would like to skip this session.");
    return text;
}

bool SessionExchange::importSession(SessionRecord& record)
{
    // The identifier becomes a file name in the data folder: one that is not
    // the station's own kind could lead anywhere, so it is replaced unseen.
    if (!SessionRecord::isSerialIdentifier(record.Serialidentifier)) {
        LogStream::instance() << "Import: a session's identifier is not one of the station's; it gets a new one.\n";
        record.newSerialIdentifier();
    } else if (SessionRecord::serialIdentifierTaken(record.Serialidentifier)) {
        const int answer = platform::messageBox(alreadyExistsText(record), translated("Import session"),
                                                platform::MB_YESNO | platform::MB_ICONQUESTION);
        if (answer != platform::IDYES)
            return false;
        record.newSerialIdentifier();
    }
    // A generator that found no free identifier must not overwrite a session.
    if (SessionRecord::serialIdentifierTaken(record.Serialidentifier)) {
        tellSkipped("Could not create datafile for session ", record.Serialidentifier, "Import session");
        return false;
    }
    // The data file comes with its row: its contents wait beside their name
    // until the row is committed, so a kill at any moment leaves both or
    // neither (see DataFileChange).
    DataFileChange file(record.dataFileName());
    const std::vector<unsigned char> text = DataFileContents::withCrLf(record.data);
    if (!file.open() || !platform::writeAll(file.fd(), text.data(), text.size()) || !file.finishWriting()) {
        LogStream::instance() << "Could not write the data file '" << file.dataFile()
                              << "' error: " << errorText(static_cast<unsigned long>(errno)) << "\n";
        tellSkipped("Could not create datafile for session ", record.Serialidentifier, "Import session");
        return false;
    }

    std::string failure;
    try {
        DatabaseTransaction whole(table_.connection());
        table_.addNew();
        table_.setRecord(record);
        if (!table_.update()) {
            failure = table_.lastError();
            table_.cancelUpdate();
        } else if (file.bindToRows(table_.connection(), record.Serialidentifier, failure)) {
            whole.commit();
            file.commit();
            return true;
        }
    } catch (const DatabaseError& error) {
        table_.cancelUpdate();
        failure = error.what();
    } catch (const std::bad_alloc&) {
        KOVA_ASSERT(false);
        table_.cancelUpdate();
    }
    // The rolled-back row must not linger among the table's rows.
    table_.reopen();
    if (!failure.empty())
        DBUtil::showError(failure);
    tellSkipped("Could not save session ", record.Serialidentifier, "Import session");
    return false;
}

int SessionExchange::importSessions(const std::function<void()>& afterImport)
{
    if (!DataFolderOwner::permitsWritingOrTell())
        return 0;
    const std::optional<std::string> path = chooseFile(false, "Import sessions");
    if (!path)
        return 0;
    std::vector<SessionRecord> sessions = SessionFile::read(*path);
    int imported = 0;
    for (SessionRecord& record : sessions) {
        if (importSession(record))
            ++imported;
    }
    if (afterImport)
        afterImport();
    tell(translated("Imported ") + SessionFile::sessionCount(static_cast<std::size_t>(imported))
             + translated(" from ") + cstringToWide(*path),
         "Import sessions", platform::MB_ICONINFORMATION);
    return imported;
}
