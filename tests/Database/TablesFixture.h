#pragma once
// The records fixture with the station's registry in the test's folder and
// the data source open, plus helpers to put rows in and read them back.

#include "RecordsFixture.h"

#include "Database/Database.h"
#include "Database/RecordTime.h"
#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/stored-sessions/DataFolderMark.h"
#include "Database/stored-sessions/RecordsIdentity.h"
#include "platform/RegistryStore.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

// New records are stamped with this local time while the object lives.
class ScopedRecordTime {
public:
    ScopedRecordTime(int year, int month, int day, int hour, int minute)
    {
        std::tm time{};
        time.tm_year = year - 1900;
        time.tm_mon = month - 1;
        time.tm_mday = day;
        time.tm_hour = hour;
        time.tm_min = minute;
        RecordTime::setNow([time] { return time; });
    }
    ~ScopedRecordTime() { RecordTime::setNow({}); }
    ScopedRecordTime(const ScopedRecordTime&) = delete;
    ScopedRecordTime& operator=(const ScopedRecordTime&) = delete;
};

class TablesFixture : public RecordsFixture {
protected:
    static constexpr const char* STATION_KEY = "SOFTWARE\\Kova\\Kova CPR\\3.1.3";

    void SetUp() override
    {
        RecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        setenv("KOVA_REGISTRY_DIR", folder.file("registry").c_str(), 1);
        openRecords();
    }
    void TearDown() override
    {
        platform::RegistryStore::setMachineWritable(false);
        unsetenv("KOVA_REGISTRY_DIR");
        RecordsFixture::TearDown();
    }

    // What the installation leaves in the machine hive.
    void setMachineString(const std::string& name, const std::string& value)
    {
        platform::RegistryStore::setMachineWritable(true);
        platform::RegistryStore::instance().setString(platform::RegistryRoot::Machine, STATION_KEY, name, value);
        platform::RegistryStore::setMachineWritable(false);
    }
    void setMachineDword(const std::string& name, std::uint32_t value)
    {
        platform::RegistryStore::setMachineWritable(true);
        platform::RegistryStore::instance().setDword(platform::RegistryRoot::Machine, STATION_KEY, name, value);
        platform::RegistryStore::setMachineWritable(false);
    }
    // The station's data folder ("data" in the test's folder) named in the
    // machine hive, where sessions write their data files; the warning of a
    // missing folder is forgotten, so it is given again.
    std::filesystem::path makeDataFolder()
    {
        forgetDataFolderWarning();
        const std::filesystem::path data = folder.path() / "data";
        std::filesystem::create_directories(data);
        setMachineString("Data Folder", data.string());
        return data;
    }

    // The folder's mark naming the records (the open ones when `records` is
    // empty), claimed `age` seconds ago.
    void markDataFolder(const std::filesystem::path& data, std::string records = {}, std::time_t age = 60)
    {
        if (records.empty())
            records = RecordsIdentity::read(theDatabase);
        const DataFolderMark mark{records, "", std::time(nullptr) - age};
        kovatest::writeFile(data / DataFolderMark::FILE_NAME, mark.text());
    }

    void exec(const std::string& sql, const std::vector<SqlValue>& parameters = {})
    {
        theDatabase.execute(sql, parameters);
    }
    // The built-in rows the station's set-up (and the PostgreSQL script) puts in.
    void installSetUpRows()
    {
        for (const std::string& statement : sqlStatements("builtin-records.sql"))
            exec(statement);
    }
    // Makes the database refuse every new row of the table whose column
    // holds the value, as a full disk or a broken constraint would.
    void refuseInserts(const std::string& table, const std::string& column, const std::string& value)
    {
        const std::string condition = "NEW.\"" + column + "\" = '" + value + "'";
        if (!onPostgresql()) {
            exec("CREATE TRIGGER \"refuse" + table + "\" BEFORE INSERT ON \"" + table + "\" WHEN " + condition
                 + " BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
            return;
        }
        exec("CREATE FUNCTION \"refuse" + table + "\"() RETURNS trigger AS $body$ BEGIN IF " + condition
             + " THEN RAISE EXCEPTION 'refused by the test'; END IF; RETURN NEW; END $body$ LANGUAGE plpgsql");
        exec("CREATE TRIGGER \"refuse" + table + "\" BEFORE INSERT ON \"" + table
             + "\" FOR EACH ROW EXECUTE FUNCTION \"refuse" + table + "\"()");
    }
    // The record as a new row of the table "Session".
    static void addSessionRow(const SessionRecord& record)
    {
        SessionTable table(theDatabase);
        table.open("");
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update()) << table.lastError();
    }
    long long count(const std::string& table)
    {
        auto rows = theDatabase.query("SELECT COUNT(*) FROM \"" + table + "\"", {}, {SqlType::Integer});
        return std::get<long long>(rows.front().front());
    }
};
