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
