# The record editor's rules on real tables: on the SQLite data source and,
# under the records_postgresql fixture, on the throwaway PostgreSQL server.
kova_test(RecordEditorTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/DatabaseDialogTest.cpp
  LIBS Database)
kova_test_on_postgresql(RecordEditorTests)
