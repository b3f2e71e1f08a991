#pragma once
// One stored training session (a row of the table "Session") with its
// random serial identifier, the name of its data file in the data folder,
// and its binary form in exported session files. Copied by value.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ObjectInput;
class ObjectOutput;

struct SessionRecord {
    // A record without identifier or stamps, for filling from a row.
    struct Unstamped {};

    // A new session: a fresh serial identifier, today's date, the time now.
    SessionRecord();
    explicit SessionRecord(Unstamped);

    std::string Serialidentifier; // the key: 14 characters
    std::string Algorithm;
    unsigned char Approved = 0;
    std::string ApprovedBy;
    double CompDepth = 0.0;
    double CompRelaxRatio = 0.0;
    std::string CourseDate;
    std::string CourseInstructor;
    long CourseOrder = 0;
    std::string CourseTime;
    bool Done = false;
    long Duration = 600; // seconds; -1 means no limit
    double ECCrate = 0.0;
    std::string EndTime;
    long InitialVentilations = 0;
    double InterfaceFrequency = 0.0; // samples per second of the stored measurements
    double Leaning = 0.0;
    long Manikin = 0; // manikin port number
    std::string manikinText; // the manikin as a course row's combo box shows it; not stored
    bool Metronome = false;
    bool RegisterEvents = true;
    std::string Note;
    double PauseECC = 0.0;
    std::string PersonChestCompression;
    std::string PersonVentilation;
    std::string Scenario;
    long TrainingMode = 1;
    std::string StartTime;
    double StomachInflation = 0.0;
    double VentCompRatioComp = 0.0;
    double VentCompRatioVent = 0.0;
    double VentilationRate = 0.0;
    double VentilationVolume = 0.0;
    double WrongHandPosition = 0.0;
    int linkType = 0; // link type of the session's port; not stored
    std::vector<unsigned char> data; // the data file's contents, for export and import only
    std::uint32_t endMarker = END_MARKER;

    static constexpr std::uint32_t END_MARKER = 0x1234;
    static constexpr std::size_t SERIAL_IDENTIFIER_LENGTH = 14;

    // Every stored member back to its default, with a fresh identifier and
    // stamps; manikinText, linkType, data and endMarker stay.
    void reset();

    std::string getKey() const { return Serialidentifier; }
    void setKey(const std::string& key) { Serialidentifier = key; }
    // Serial identifiers compare exactly.
    bool matchesKey(const std::string& key) const { return Serialidentifier == key; }
    // Every record has an identifier to be stored under unless it was emptied.
    static bool isValidKey(const std::string& key) { return !key.empty(); }

    // Gives the record a fresh identifier that names no stored session and
    // no data file (an imported session takes a new identity this way).
    // False when no free one was drawn: the record then holds a taken
    // identifier, which every store refuses (it never takes another
    // session's row or data file).
    bool newSerialIdentifier();
    // Seven draws of the station's generator as 14 characters.
    static std::string drawSerialIdentifier();
    // A row of the Session table or a data file already carries the identifier.
    static bool serialIdentifierTaken(const std::string& serial);
    // 14 characters of the generator's alphabet: only such an identifier may
    // name a data file.
    static bool isSerialIdentifier(const std::string& serial);

    // The session's data file: the data folder, the identifier, ".dat".
    // Nothing for an identifier of another form: a row of a shared database
    // or of a damaged one may hold any text, and "../" in it would name a
    // file outside the data folder. Every data file name is made here.
    std::optional<std::string> dataFileName() const;
    // The identifier may name a data file (see isSerialIdentifier).
    bool namesDataFile() const { return isSerialIdentifier(Serialidentifier); }
    // Logs and tells the user that the session's identifier names no data
    // file, so its data file is not read, written or removed.
    void tellIdentifierRefused() const;
    // A text from a row or a file as a message box shows it: control
    // characters as escapes, and no longer than a line.
    static std::string shownIdentifier(const std::string& text);

    // The binary record of exported session files.
    void write(ObjectOutput& out) const;
    // Throws "Unsupported version in session data!" (const char*) for a
    // version other than 0, before anything changes; a buffer that ends
    // inside a field throws mem_buffer::buffer_overflow_error.
    void read(ObjectInput& in);

    bool operator==(const SessionRecord&) const = default;
};

// Narrow text of the system code page as wide text, for export messages.
std::wstring cstringToWide(const std::string& text);

// The data folder named in the registry, with its trailing separator; false
// (and the folder untouched) when the registry does not name one.
bool readDataFolder(std::string& folder);

// The missing data folder is told once per run; this starts a new count.
void forgetDataFolderWarning();
