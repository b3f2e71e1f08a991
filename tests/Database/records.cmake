# The training records core: connection, record sets, the table frame and
# pool, and the installed database. The suite runs twice: on a SQLite data
# source, and on a throwaway PostgreSQL server that the fixture
# records_postgresql starts before and stops after its tests.
set(_records_sources
  RecordsFixture.cpp
  ConnectionTest.cpp
  RecordSetTest.cpp
  DBUtilTest.cpp
  TablePoolTest.cpp
  InstalledDatabaseTest.cpp)
kova_test(DatabaseRecordsTests SOURCES ${_records_sources} LIBS Database)

if(KOVA_TESTS)
  set(_records_pg_state ${CMAKE_CURRENT_BINARY_DIR}/postgresql-server)
  add_test(NAME DatabaseRecords.postgresql.start
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/pg-cluster start ${_records_pg_state})
  add_test(NAME DatabaseRecords.postgresql.stop
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/pg-cluster stop ${_records_pg_state})
  set_tests_properties(DatabaseRecords.postgresql.start PROPERTIES
    FIXTURES_SETUP records_postgresql LABELS postgresql TIMEOUT 120)
  set_tests_properties(DatabaseRecords.postgresql.stop PROPERTIES
    FIXTURES_CLEANUP records_postgresql LABELS postgresql TIMEOUT 120)
  kova_test_on_postgresql(DatabaseRecordsTests)
endif()
