# A stored session seen again: the details window, the session dialog's
# graphs and debriefing, and a session run on the simulated manikin stored
# through its review panel and read back.
if(TARGET manikinsim)
  kova_test(StoredSessionWindowTests GUI
    SOURCES
      ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/StoredSessionWindowsTest.cpp
    LIBS app_gui manikinsim Qt6::Test)
endif()
if(TARGET StoredSessionWindowTests)
  target_include_directories(StoredSessionWindowTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()

# Rows whose identifier would name a file outside the data folder: every
# road to their data file refused, on SQLite and on PostgreSQL.
kova_test(ForeignIdentifierTests GUI
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ForeignIdentifierTest.cpp
  LIBS app_gui Qt6::Test)
kova_test_on_postgresql(ForeignIdentifierTests)
if(TARGET ForeignIdentifierTests)
  target_include_directories(ForeignIdentifierTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()
