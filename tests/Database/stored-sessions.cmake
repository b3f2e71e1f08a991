# The stored sessions: the session manager's search on the SQLite data
# source and, under the records_postgresql fixture, on PostgreSQL; the
# session manager and the session dialog windows with their screenshots.
kova_test(SessionSearchTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/SessionSearchTest.cpp
  LIBS Database)

if(KOVA_TESTS)
  set(_search_pg_work ${CMAKE_CURRENT_BINARY_DIR}/work-SessionSearchTests-postgresql)
  file(MAKE_DIRECTORY ${_search_pg_work})
  gtest_discover_tests(SessionSearchTests
    TEST_PREFIX "postgresql."
    WORKING_DIRECTORY ${_search_pg_work}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS postgresql
      TIMEOUT 300
      ENVIRONMENT "KOVA_TEST_POSTGRESQL=${CMAKE_CURRENT_BINARY_DIR}/postgresql-server"
      FIXTURES_REQUIRED records_postgresql)
endif()

kova_test(StoredSessionDialogTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowseSessionsDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialogTest.cpp
  LIBS Database_gui Qt6::Test)
