#include "Database/export-import/SessionFile.h"

#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/FileUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/mem_buffer.h"
#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <new>

namespace {

std::wstring translated(const char* text) { return Gettext::translate(text); }

// A record whose data is too long for its 32-bit length cannot be written
// truthfully; streaming it would make a file no station can read.
bool fitsItsLength(const SessionRecord& record)
{
    return record.data.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

void showExportFailure(const std::wstring& reason)
{
    platform::messageBox(translated("The sessions could not be exported:") + L"\r\n" + reason,
                         translated("Export sessions"), platform::MB_OK | platform::MB_ICONERROR);
}

// Reasons of our own, shown translated; an exception's text is shown as it came.
const char* const OUT_OF_MEMORY = "Not enough memory to hold the sessions.";
const char* const TOO_LARGE = "A session's data is too large to export.";

} // namespace

std::wstring SessionFile::sessionCount(std::size_t count)
{
    return std::to_wstring(count) + translated(count == 1 ? " session" : " sessions");
}

SessionFile::Streamed SessionFile::stream(const std::vector<SessionRecord>& sessions, std::size_t capacityLimit)
{
    Streamed result;
    for (const SessionRecord& record : sessions) {
        if (!fitsItsLength(record)) {
            result.error = TOO_LARGE;
            return result;
        }
    }
    std::size_t capacity = FIRST_CAPACITY;
    while (true) {
        std::unique_ptr<unsigned char[]> block;
        if (capacity <= capacityLimit)
            block.reset(new (std::nothrow) unsigned char[capacity]);
        if (!block) {
            result.error = OUT_OF_MEMORY;
            return result;
        }
        mem_buffer buffer(block.get(), capacity);
        RawFormat format(buffer);
        ObjectOutput out(format);
        try {
            out << static_cast<std::uint32_t>(sessions.size());
            for (const SessionRecord& record : sessions)
                out << record;
        } catch (const mem_buffer::buffer_overflow_error&) {
            if (capacity > NO_LIMIT / 2) {
                result.error = OUT_OF_MEMORY;
                return result;
            }
            capacity *= 2;
            continue;
        } catch (const char* text) {
            result.error = text;
            return result;
        } catch (const std::bad_alloc&) {
            result.error = OUT_OF_MEMORY;
            return result;
        }
        result.size = buffer.used();
        result.capacity = capacity;
        result.block = std::move(block);
        return result;
    }
}

bool SessionFile::write(const std::string& path, const std::vector<SessionRecord>& sessions,
                        std::size_t capacityLimit)
{
    const Streamed streamed = stream(sessions, capacityLimit);
    if (!streamed.ok()) {
        LogStream::instance() << "Could not export sessions to '" << path << "': " << streamed.error << "\n";
        const bool ownText = streamed.error == OUT_OF_MEMORY || streamed.error == TOO_LARGE;
        showExportFailure(ownText ? translated(streamed.error.c_str()) : cstringToWide(streamed.error));
        return false;
    }
    // Noted until the file is written: a kill half-way leaves a temporary
    // beside it that the next start sweeps (see DataFolderRecovery).
    const UnfinishedExports::During noted(path);
    if (!FileUtil::writeFile(path, streamed.block.get(), streamed.size, true)) {
        showExportFailure(translated("Could not save ") + cstringToWide(path) + L".");
        return false;
    }
    platform::messageBox(translated("Exported ") + sessionCount(sessions.size()) + translated(" to ")
                             + cstringToWide(path),
                         translated("Export sessions"), platform::MB_OK | platform::MB_ICONINFORMATION);
    return true;
}

SessionFile::Parsed SessionFile::parse(const unsigned char* bytes, std::size_t size)
{
    Parsed result;
    // The reader works on a buffer it may move through; the bytes stay the caller's.
    mem_buffer buffer(const_cast<unsigned char*>(bytes), size);
    RawFormat format(buffer);
    ObjectInput in(format);
    std::vector<SessionRecord> sessions;
    try {
        std::uint32_t bits = 0;
        in >> bits;
        const auto count = static_cast<std::int32_t>(bits);
        if (count <= 0)
            return result;
        // A damaged count must not keep the reader busy with records the
        // file cannot hold; it ends as a file cut short would.
        if (static_cast<std::size_t>(count) > buffer.left() / SMALLEST_RECORD)
            throw mem_buffer::buffer_overflow_error(static_cast<std::int32_t>(std::min<std::size_t>(
                                                        buffer.left(), std::numeric_limits<std::int32_t>::max())),
                                                    static_cast<std::int32_t>(SMALLEST_RECORD));
        sessions.reserve(static_cast<std::size_t>(count));
        for (std::int32_t left = count; left > 0; --left) {
            SessionRecord record(SessionRecord::Unstamped{});
            in >> record;
            // Every record closes with the marker: one that does not was
            // written by something else, and nothing after it can be trusted.
            if (record.endMarker != SessionRecord::END_MARKER) {
                result.outcome = Outcome::BadEndMarker;
                return result;
            }
            sessions.push_back(std::move(record));
        }
    } catch (const char* text) {
        result.outcome = Outcome::Unparsable;
        result.error = text;
        return result;
    } catch (const std::exception& error) {
        result.outcome = Outcome::Unparsable;
        result.error = error.what();
        return result;
    }
    result.outcome = Outcome::Read;
    result.sessions = std::move(sessions);
    return result;
}

std::vector<SessionRecord> SessionFile::read(const std::string& path)
{
    std::unique_ptr<unsigned char[]> block;
    std::size_t size = 0;
    if (!FileUtil::readWhole(path, block, size, false))
        return {};
    Parsed parsed = parse(block.get(), size);
    block.reset();
    switch (parsed.outcome) {
    case Outcome::Read:
        return std::move(parsed.sessions);
    case Outcome::Empty:
        return {};
    case Outcome::Unparsable:
        LogStream::instance() << "Could not parse sessions file '" << path << "': " << parsed.error << "\n";
        platform::messageBox(translated("Could not parse sessions file:") + L"\r\n" + cstringToWide(path) + L":\r\n"
                                 + cstringToWide(parsed.error),
                             translated("Import sessions"), platform::MB_OK | platform::MB_ICONERROR);
        return {};
    case Outcome::BadEndMarker:
        LogStream::instance() << "Could not parse all of the sessions in file '" << path << "'. Ignoring file.\n";
        platform::messageBox(translated("An error occured while importing sessions, importing canceled."),
                             translated("Import sessions"), platform::MB_OK | platform::MB_ICONERROR);
        return {};
    }
    return {};
}
