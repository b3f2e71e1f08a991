-- The training records of the station, as the default SQLite database
-- holds them. Every table carries the row id "RowId" by which the station
-- edits and deletes single rows; ids are never reused, so a row id a dialog
-- still holds can never point at another row. Key texts carry no case rule
-- here: the station compares names ignoring case itself, on every engine.
-- Flags are 0 or 1. Running the script again changes nothing.

CREATE TABLE IF NOT EXISTS "Algorithm" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Name" TEXT NOT NULL DEFAULT '',
    "compDepthHigh" REAL NOT NULL DEFAULT 50,
    "compDepthLow" REAL NOT NULL DEFAULT 40,
    "compRelaxHigh" REAL NOT NULL DEFAULT 60,
    "compRelaxLow" REAL NOT NULL DEFAULT 40,
    "compRelaxRecc" REAL NOT NULL DEFAULT 50,
    "eccRateHigh" REAL NOT NULL DEFAULT 110,
    "eccRateLow" REAL NOT NULL DEFAULT 90,
    "initVent" INTEGER NOT NULL DEFAULT 2,
    "ventCompRatioDoubleComp" REAL NOT NULL DEFAULT 5,
    "ventCompRatioDoubleVent" REAL NOT NULL DEFAULT 1,
    "ventCompRatioSingleComp" REAL NOT NULL DEFAULT 15,
    "ventCompRatioSingleVent" REAL NOT NULL DEFAULT 2,
    "vRateHigh" REAL NOT NULL DEFAULT 9,
    "vRateLow" REAL NOT NULL DEFAULT 6,
    "vVolHigh" REAL NOT NULL DEFAULT 0.6,
    "vVolLow" REAL NOT NULL DEFAULT 0.4,
    "builtIn" INTEGER NOT NULL DEFAULT 0,
    "pauseEccMax" INTEGER NOT NULL DEFAULT 10
);

CREATE TABLE IF NOT EXISTS "Course" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Instructor" TEXT NOT NULL DEFAULT '',
    "Date" TEXT NOT NULL DEFAULT '',
    "Time" TEXT NOT NULL DEFAULT '',
    "DefaultScenario" TEXT NOT NULL DEFAULT '',
    "Note" TEXT NOT NULL DEFAULT ''
);

CREATE TABLE IF NOT EXISTS "Events" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Scenario" TEXT NOT NULL DEFAULT '',
    "Order" INTEGER NOT NULL DEFAULT 0,
    "Name" TEXT NOT NULL DEFAULT '',
    "Tooltip" TEXT NOT NULL DEFAULT '',
    "Icon" INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS "Person" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Name" TEXT NOT NULL DEFAULT '',
    "Address" TEXT NOT NULL DEFAULT '',
    "CPRCourses" TEXT NOT NULL DEFAULT '0',
    "Degree" TEXT NOT NULL DEFAULT '',
    "Instructor" INTEGER NOT NULL DEFAULT 0,
    "Note" TEXT NOT NULL DEFAULT '',
    "Phone" TEXT NOT NULL DEFAULT '',
    "Resuscitations" TEXT NOT NULL DEFAULT '0'
);

CREATE TABLE IF NOT EXISTS "Scenario" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Name" TEXT NOT NULL DEFAULT '',
    "Duration" INTEGER NOT NULL DEFAULT 600,
    "Algorithm" TEXT NOT NULL DEFAULT '',
    "RegisterEvents" INTEGER NOT NULL DEFAULT 1,
    "TrainingMode" INTEGER NOT NULL DEFAULT 1
);

CREATE TABLE IF NOT EXISTS "Session" (
    "RowId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Serialidentifier" TEXT NOT NULL DEFAULT '',
    "Algorithm" TEXT NOT NULL DEFAULT '',
    "Approved" INTEGER NOT NULL DEFAULT 0,
    "ApprovedBy" TEXT NOT NULL DEFAULT '',
    "CompDepth" REAL NOT NULL DEFAULT 0,
    "CompRelaxRatio" REAL NOT NULL DEFAULT 0,
    "CourseDate" TEXT NOT NULL DEFAULT '',
    "CourseInstructor" TEXT NOT NULL DEFAULT '',
    "CourseOrder" INTEGER NOT NULL DEFAULT 0,
    "CourseTime" TEXT NOT NULL DEFAULT '',
    "Done" INTEGER NOT NULL DEFAULT 0,
    "Duration" INTEGER NOT NULL DEFAULT 600,
    "ECCrate" REAL NOT NULL DEFAULT 0,
    "EndTime" TEXT NOT NULL DEFAULT '',
    "InitialVentilations" INTEGER NOT NULL DEFAULT 0,
    "InterfaceFrequency" REAL NOT NULL DEFAULT 0,
    "Leaning" REAL NOT NULL DEFAULT 0,
    "Manikin" INTEGER NOT NULL DEFAULT 0,
    "Metronome" INTEGER NOT NULL DEFAULT 0,
    "RegisterEvents" INTEGER NOT NULL DEFAULT 1,
    "Note" TEXT NOT NULL DEFAULT '',
    "PauseECC" REAL NOT NULL DEFAULT 0,
    "PersonChestCompression" TEXT NOT NULL DEFAULT '',
    "PersonVentilation" TEXT NOT NULL DEFAULT '',
    "Scenario" TEXT NOT NULL DEFAULT '',
    "TrainingMode" INTEGER NOT NULL DEFAULT 1,
    "StartTime" TEXT NOT NULL DEFAULT '',
    "StomachInflation" REAL NOT NULL DEFAULT 0,
    "VentCompRatioComp" REAL NOT NULL DEFAULT 0,
    "VentCompRatioVent" REAL NOT NULL DEFAULT 0,
    "VentilationRate" REAL NOT NULL DEFAULT 0,
    "VentilationVolume" REAL NOT NULL DEFAULT 0,
    "WrongHandPosition" REAL NOT NULL DEFAULT 0
);

-- The identity of these records, drawn once when the tables are made: a
-- data folder names the records it belongs to by it, so that a station on
-- other records never takes the folder's files for its own. One row only.
-- The station makes it for a database made without it.
CREATE TABLE IF NOT EXISTS "RecordsIdentity" (
    "RowId" INTEGER PRIMARY KEY CHECK ("RowId" = 1),
    "Identity" TEXT NOT NULL
);
INSERT INTO "RecordsIdentity" ("RowId", "Identity") VALUES (1, lower(hex(randomblob(16)))) ON CONFLICT DO NOTHING;

-- A serial identifier names one session and its data file: no store may
-- make a second row with it (a row without one names nothing). The station
-- adds this index to a database made without it, once its rows allow it.
CREATE UNIQUE INDEX IF NOT EXISTS "SessionSerialidentifier" ON "Session" ("Serialidentifier")
    WHERE "Serialidentifier" <> '';
