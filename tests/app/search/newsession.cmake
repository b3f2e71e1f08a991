# The New-session window on a temporary SQLite data source, with recorded-data
# ports and simulated manikins; it saves <build>/new-session.png for a person
# to look at.
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
if(TARGET manikinsim)
  kova_test(NewSessionWindowTests GUI
    SOURCES
      ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/TestMainWindow.cpp
      ${CMAKE_CURRENT_LIST_DIR}/NewSessionDialogTest.cpp
    LIBS app_gui manikinsim Qt6::Test
    LABELS device)
  if(TARGET NewSessionWindowTests)
    target_include_directories(NewSessionWindowTests PRIVATE
      ${PROJECT_SOURCE_DIR}/tests/comm ${PROJECT_SOURCE_DIR}/tests/Database)
    add_dependencies(NewSessionWindowTests recorded-data)
  endif()
endif()
