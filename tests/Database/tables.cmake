# The six tables with their records and cascades, the session record's
# binary form and the built-in data upgrade; on the SQLite data source and,
# under the records_postgresql fixture, on the throwaway PostgreSQL server.
set(_tables_sources
  RecordsFixture.cpp
  AlgorithmRulesTest.cpp
  AlgorithmScenarioTablesTest.cpp
  PersonCourseTablesTest.cpp
  SessionTableTest.cpp
  SessionRecordFormatTest.cpp
  DatabasePatchTest.cpp)
kova_test(RecordTablesTests SOURCES ${_tables_sources} LIBS Database)
kova_test_on_postgresql(RecordTablesTests)

kova_fuzzer(SessionRecordFuzzer
  SOURCES SessionRecordFuzz.cpp
  LIBS Database)
