# The record editors: the editors' rules on real tables, and their windows.
#
# The record editors' windows on the SQLite data source, with a screenshot of
# each window in the build folder.
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(RecordDialogTests GUI
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PersonDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AlgorithmDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventDialogsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialogHelpTest.cpp
  LIBS Database_gui propertyPage Qt6::Test)

# The record editor's rules on real tables: on the SQLite data source and,
# under the records_postgresql fixture, on the throwaway PostgreSQL server.
kova_test(RecordEditorTests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/DatabaseDialogTest.cpp
  LIBS Database)
kova_test_on_postgresql(RecordEditorTests)
