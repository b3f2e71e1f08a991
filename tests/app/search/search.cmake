# Finding the manikins and starting sessions on them: the search and
# calibration window and the New-session window it gives way to.
#
# The manikin search window: its port lines and calibration waits (core).
kova_test(SearchCoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SearchCoreTest.cpp
  LIBS app_core)

# The window itself against simulated manikins on pseudo-terminals and
# loopback; it saves <build>/search-for-manikins.png for a person to look at.
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
if(TARGET manikinsim)
  kova_test(SearchWindowTests GUI
    SOURCES
      ${CMAKE_CURRENT_SOURCE_DIR}/TestMainWindow.cpp
      ${CMAKE_CURRENT_LIST_DIR}/CalibrateViewTest.cpp
    LIBS app_gui manikinsim Qt6::Test
    LABELS device)
  if(TARGET SearchWindowTests)
    target_include_directories(SearchWindowTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
    add_dependencies(SearchWindowTests recorded-data)
  endif()
endif()

# The New-session window on a temporary SQLite data source, with recorded-data
# ports and simulated manikins; it saves <build>/new-session.png for a person
# to look at.
if(TARGET manikinsim)
  kova_test(NewSessionWindowTests GUI
    SOURCES
      ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/TestMainWindow.cpp
      ${CMAKE_CURRENT_LIST_DIR}/NewSessionDialogTest.cpp
    LIBS app_gui manikinsim Qt6::Test
    LABELS device)
  if(TARGET NewSessionWindowTests)
    target_include_directories(NewSessionWindowTests PRIVATE
      ${PROJECT_SOURCE_DIR}/tests/comm ${PROJECT_SOURCE_DIR}/tests/Database)
    add_dependencies(NewSessionWindowTests recorded-data)
  endif()
endif()
