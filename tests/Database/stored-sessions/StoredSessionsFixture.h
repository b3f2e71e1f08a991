#pragma once
// Stored sessions put in row by row: a session's participants, date, start
// time, instructor and scenario, run or planned.

#include "Database/Database.h"

#include <string>
#include <utility>

struct StoredSession {
    StoredSession(std::string serial, std::string ventilation, std::string compression = {},
                  std::string date = "2024-05-01", std::string time = "10:00", std::string instructor = {},
                  std::string scenario = {}, bool done = true)
        : serial(std::move(serial)), ventilation(std::move(ventilation)), compression(std::move(compression)),
          date(std::move(date)), time(std::move(time)), instructor(std::move(instructor)),
          scenario(std::move(scenario)), done(done)
    {
    }
    std::string serial;
    std::string ventilation;
    std::string compression;
    std::string date;
    std::string time;
    std::string instructor;
    std::string scenario;
    bool done;
};

// Puts the session in as a row of "Session".
inline void addStoredSession(const StoredSession& session)
{
    theDatabase.execute("INSERT INTO \"Session\" (\"Serialidentifier\", \"PersonVentilation\", \"PersonChestCompression\", "
                        "\"CourseDate\", \"StartTime\", \"CourseInstructor\", \"Scenario\", \"Done\") "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                        {session.serial, session.ventilation, session.compression, session.date, session.time,
                         session.instructor, session.scenario, session.done ? 1LL : 0LL});
}
