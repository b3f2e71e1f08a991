# The record editor's rules on real tables: on the SQLite data source and,
# under the records_postgresql fixture, on the throwaway PostgreSQL server.
kova_test(RecordEditorTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/DatabaseDialogTest.cpp
  LIBS Database)

if(KOVA_TESTS)
  set(_editor_pg_work ${CMAKE_CURRENT_BINARY_DIR}/work-RecordEditorTests-postgresql)
  file(MAKE_DIRECTORY ${_editor_pg_work})
  gtest_discover_tests(RecordEditorTests
    TEST_PREFIX "postgresql."
    WORKING_DIRECTORY ${_editor_pg_work}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS postgresql
      TIMEOUT 300
      ENVIRONMENT "KOVA_TEST_POSTGRESQL=${CMAKE_CURRENT_BINARY_DIR}/postgresql-server"
      FIXTURES_REQUIRED records_postgresql)
endif()
