# The stored sessions: the session manager's search on the SQLite data
# source and, under the records_postgresql fixture, on PostgreSQL; the
# session manager and the session dialog windows with their screenshots.
kova_test(SessionSearchTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/SessionSearchTest.cpp
  LIBS Database)
kova_test_on_postgresql(SessionSearchTests)

kova_test(StoredSessionDialogTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowseSessionsDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialogTest.cpp
  LIBS Database_gui Qt6::Test)
