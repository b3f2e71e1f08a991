# The six tables with their records and cascades, the session record's
# binary form and the built-in data upgrade; on the SQLite data source and,
# under the records_postgresql fixture, on the throwaway PostgreSQL server.
set(_tables_sources
  RecordsFixture.cpp
  AlgorithmScenarioTablesTest.cpp
  PersonCourseTablesTest.cpp
  SessionTableTest.cpp
  SessionRecordFormatTest.cpp
  DatabasePatchTest.cpp)
kova_test(RecordTablesTests SOURCES ${_tables_sources} LIBS Database)

if(KOVA_TESTS)
  set(_tables_pg_work ${CMAKE_CURRENT_BINARY_DIR}/work-RecordTablesTests-postgresql)
  file(MAKE_DIRECTORY ${_tables_pg_work})
  gtest_discover_tests(RecordTablesTests
    TEST_PREFIX "postgresql."
    WORKING_DIRECTORY ${_tables_pg_work}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS postgresql
      TIMEOUT 300
      ENVIRONMENT "KOVA_TEST_POSTGRESQL=${CMAKE_CURRENT_BINARY_DIR}/postgresql-server"
      FIXTURES_REQUIRED records_postgresql)
endif()

kova_fuzzer(SessionRecordFuzzer
  SOURCES SessionRecordFuzz.cpp
  LIBS Database)
