#include "Database/SessionRecord.h"

#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/RecordTime.h"
#include "Database/RuntimeRandom.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/RegistryKey.h"
#include "Rodezir/gstringUtil.h"
#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <filesystem>
#include <new>

namespace {
const char* const SERIAL_ALPHABET = "0123456789abcdefghijklmnopqrstuv";
constexpr int SERIAL_GROUPS = 7;
// Stations seeded alike draw the same sequence, so a long run of identifiers
// another station took already is possible; one that never ends means the
// data folder cannot be looked at, and the draw gives up rather than hang.
constexpr int SERIAL_DRAWS = 2000;
const char* const STATION_KEY = "SOFTWARE\\Kova\\Kova CPR\\3.1.3";
const char* const DATA_FOLDER_VALUE = "Data Folder";
const char* const DATA_FOLDER_PATH = "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Kova\\Kova CPR\\3.1.3\\Data Folder";
constexpr char FOLDER_SEPARATOR = '/';
constexpr std::uint32_t FORMAT_VERSION = 0;

bool dataFolderWarned = false;

std::string dataFileIn(const std::string& folder, const std::string& serial) { return folder + serial + ".dat"; }

} // namespace

bool SessionRecord::serialIdentifierTaken(const std::string& serial)
{
    // An identifier of another form names no file and is never given out.
    if (!isSerialIdentifier(serial))
        return true;
    std::string folder;
    // A link or an entry that cannot be looked at counts as taken: the
    // identifier must never lead a new data file onto something that is there.
    if (readDataFolder(folder)) {
        std::error_code error;
        const auto entry = std::filesystem::symlink_status(dataFileIn(folder, serial), error);
        if (entry.type() != std::filesystem::file_type::not_found)
            return true;
    }
    if (!databaseOpen || !theDatabase.isOpen())
        return false;
    try {
        const auto rows = theDatabase.query("SELECT COUNT(*) FROM " + quoteIdentifier("Session") + " WHERE "
                                                + quoteIdentifier("Serialidentifier") + " = ?",
                                            {serial}, {SqlType::Integer});
        const auto* count = rows.empty() ? nullptr : std::get_if<long long>(&rows.front().front());
        return count && *count > 0;
    } catch (const DatabaseError&) {
        return false;
    }
}

bool SessionRecord::isSerialIdentifier(const std::string& serial)
{
    return serial.size() == SERIAL_IDENTIFIER_LENGTH
           && serial.find_first_not_of(SERIAL_ALPHABET) == std::string::npos;
}

namespace {

// Texts travel up to their first zero byte, as the exported files hold them.
void writeText(RawFormat& format, const std::string& text)
{
    format.write(std::string(text.c_str()));
}

void readText(RawFormat& format, std::string& text)
{
    std::string bytes;
    format.read(bytes);
    text = bytes.c_str();
}

void writeFlag(RawFormat& format, bool flag) { format.write(static_cast<std::uint32_t>(flag ? 1 : 0)); }

void readFlag(RawFormat& format, bool& flag)
{
    std::uint32_t value = 0;
    format.read(value);
    flag = value != 0;
}

void writeWhole(RawFormat& format, long value) { format.write(static_cast<std::int32_t>(value)); }

void readWhole(RawFormat& format, long& value)
{
    std::int32_t bits = 0;
    format.read(bits);
    value = bits;
}
} // namespace

SessionRecord::SessionRecord() { reset(); }

SessionRecord::SessionRecord(Unstamped) {}

void SessionRecord::reset()
{
    const std::string keptManikin = manikinText;
    const int keptLink = linkType;
    std::vector<unsigned char> keptData = std::move(data);
    const std::uint32_t keptMarker = endMarker;
    *this = SessionRecord(Unstamped{});
    manikinText = keptManikin;
    linkType = keptLink;
    data = std::move(keptData);
    endMarker = keptMarker;

    newSerialIdentifier();
    const std::tm now = RecordTime::now();
    CourseDate = RecordTime::dateText(now);
    StartTime = RecordTime::timeText(now);
}

std::string SessionRecord::drawSerialIdentifier()
{
    std::string serial;
    for (int group = 0; group < SERIAL_GROUPS; ++group) {
        const int r = RuntimeRandom::next() & 0xFF;
        const std::string drawn{SERIAL_ALPHABET[r & 31], SERIAL_ALPHABET[r >> 5]};
        serial = drawn + serial;
    }
    return serial;
}

bool SessionRecord::newSerialIdentifier()
{
    for (int draw = 0; draw < SERIAL_DRAWS; ++draw) {
        Serialidentifier = drawSerialIdentifier();
        if (!serialIdentifierTaken(Serialidentifier))
            return true;
    }
    LogStream::instance() << "No free session identifier in " << SERIAL_DRAWS << " draws; the last one, "
                          << Serialidentifier << ", is refused by every store.\n";
    return false;
}

bool readDataFolder(std::string& folder)
{
    RegistryKey key;
    std::string value;
    if (!key.open(HKEY_LOCAL_MACHINE, STATION_KEY) || !key.getString(DATA_FOLDER_VALUE, value))
        return false;
    if (value.empty() || value.back() != FOLDER_SEPARATOR)
        value += FOLDER_SEPARATOR;
    folder = value;
    return true;
}

void forgetDataFolderWarning() { dataFolderWarned = false; }

std::optional<std::string> SessionRecord::dataFileName() const
{
    if (!namesDataFile())
        return std::nullopt;
    std::string folder;
    if (!readDataFolder(folder) && !dataFolderWarned) {
        dataFolderWarned = true;
        const std::wstring text =
            formatWide(Gettext::translate("Could not determine location of data folder.\nInstallation is incomplete "
                                          "or broken.\nPlease reinstall application, or make sure the registry has\n"
                                          "the correct definition for key\n%hs\nContact support for further help.")
                           .c_str(),
                       DATA_FOLDER_PATH);
        platform::messageBox(text, Gettext::translate("Unexpected problem with locating data files"), platform::MB_OK);
    }
    return dataFileIn(folder, Serialidentifier);
}

std::string SessionRecord::shownIdentifier(const std::string& serial)
{
    constexpr std::size_t LONGEST_SHOWN = 60;
    std::string shown;
    for (const char c : serial.substr(0, LONGEST_SHOWN)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    if (serial.size() > LONGEST_SHOWN)
        shown += "...";
    return shown;
}

void SessionRecord::tellIdentifierRefused() const
{
    LogStream::instance() << "The session identifier '" << Serialidentifier
                          << "' is not one this station gives; it names no data file, and the session's data "
                             "file is not read, written or removed.\n";
    const std::wstring text =
        formatWide(Gettext::translate("The identifier of this session,\n%hs\nis not one this station gives, so it "
                                      "names no data file.\nThe session's data file is not read, written or "
                                      "removed.")
                       .c_str(),
                   cStr(shownIdentifier(Serialidentifier)));
    platform::messageBox(text, Gettext::translate("Session identifier refused"),
                         platform::MB_OK | platform::MB_ICONERROR);
}

std::wstring cstringToWide(const std::string& text) { return toWide(text, CP_ACP); }

void SessionRecord::write(ObjectOutput& out) const
{
    RawFormat& f = out.format();
    f.write(FORMAT_VERSION);
    writeText(f, Serialidentifier);
    writeText(f, Algorithm);
    f.write(static_cast<char>(Approved));
    writeText(f, ApprovedBy);
    f.write(CompDepth);
    f.write(CompRelaxRatio);
    writeText(f, CourseDate);
    writeText(f, CourseInstructor);
    writeWhole(f, CourseOrder);
    writeText(f, CourseTime);
    writeFlag(f, Done);
    writeWhole(f, Duration);
    f.write(ECCrate);
    writeText(f, EndTime);
    writeWhole(f, InitialVentilations);
    f.write(InterfaceFrequency);
    f.write(Leaning);
    writeWhole(f, Manikin);
    writeFlag(f, Metronome);
    writeFlag(f, RegisterEvents);
    writeText(f, Note);
    f.write(PauseECC);
    writeText(f, PersonChestCompression);
    writeText(f, PersonVentilation);
    writeText(f, Scenario);
    writeWhole(f, TrainingMode);
    writeText(f, StartTime);
    f.write(StomachInflation);
    f.write(VentCompRatioComp);
    f.write(VentCompRatioVent);
    f.write(VentilationRate);
    f.write(VentilationVolume);
    f.write(WrongHandPosition);
    f.write(static_cast<std::int32_t>(data.size()));
    f.writeBlock(data.data(), data.size());
    f.write(endMarker);
}

void SessionRecord::read(ObjectInput& in)
{
    RawFormat& f = in.format();
    std::uint32_t version = 0;
    f.read(version);
    if (version != FORMAT_VERSION)
        throw "Unsupported version in session data!";
    readText(f, Serialidentifier);
    readText(f, Algorithm);
    char approved = 0;
    f.read(approved);
    Approved = static_cast<unsigned char>(approved);
    readText(f, ApprovedBy);
    f.read(CompDepth);
    f.read(CompRelaxRatio);
    readText(f, CourseDate);
    readText(f, CourseInstructor);
    readWhole(f, CourseOrder);
    readText(f, CourseTime);
    readFlag(f, Done);
    readWhole(f, Duration);
    f.read(ECCrate);
    readText(f, EndTime);
    readWhole(f, InitialVentilations);
    f.read(InterfaceFrequency);
    f.read(Leaning);
    readWhole(f, Manikin);
    readFlag(f, Metronome);
    readFlag(f, RegisterEvents);
    readText(f, Note);
    f.read(PauseECC);
    readText(f, PersonChestCompression);
    readText(f, PersonVentilation);
    readText(f, Scenario);
    readWhole(f, TrainingMode);
    readText(f, StartTime);
    f.read(StomachInflation);
    f.read(VentCompRatioComp);
    f.read(VentCompRatioVent);
    f.read(VentilationRate);
    f.read(VentilationVolume);
    f.read(WrongHandPosition);
    // The length is checked against the bytes left before anything is
    // allocated, so a damaged count cannot exhaust memory.
    std::string bytes;
    f.read(bytes);
    data.assign(bytes.begin(), bytes.end());
    f.read(endMarker);
}
