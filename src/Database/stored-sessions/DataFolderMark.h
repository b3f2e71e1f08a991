#pragma once
// The mark a data folder carries of the records it belongs to: the file
// "kovacpr-records" in the folder, naming the records' identity (see
// RecordsIdentity), the database they were in when they claimed the folder,
// and the moment of the claim. Files the folder held before that moment are
// not the records' to sweep. The file is text:
//
//   Kova CPR data folder
//   records=<32 hexadecimal digits>
//   database=<engine and database, printable characters>
//   claimed=<seconds since 1970>
//
// A file of another form counts as damaged: it may be another station's, so
// the folder is left alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DataFolderMark {
    static constexpr const char* FILE_NAME = "kovacpr-records";
    static constexpr std::size_t MAX_FILE_SIZE = 4096;
    static constexpr std::size_t MAX_DATABASE_TEXT = 1024;

    std::string records;
    std::string database;
    std::int64_t claimed = 0;

    // The file's bytes.
    std::string text() const;
    // The mark the bytes hold; none when they are not one.
    static std::optional<DataFolderMark> parse(std::string_view bytes);

    // Made only by claim: this mark was written.
    enum class Reading { Missing, Read, Damaged, Made };
    // The folder's mark; Damaged, with the reason, when the file is there
    // but cannot be read or holds no mark.
    static Reading read(const std::string& folder, DataFolderMark& mark, std::string& reason);
    // Claims an unmarked folder for `mark.records`: the mark is written
    // beside its name, on the disk, and takes the name only while no other
    // mark has it. The claim's moment is set to the moment the folder's file
    // system saw it made, so that every file written before has an earlier
    // time. Made when this mark now names the folder; Missing (errno set)
    // when it could not be written; otherwise the result of reading the
    // mark another station put there first, which `mark` then holds.
    static Reading claim(const std::string& folder, DataFolderMark& mark, std::string& reason);
    // Printable text for the database line: control characters become "?"
    // and the text is cut to its bound.
    static std::string printable(std::string_view text);
};
