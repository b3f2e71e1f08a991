# The controls the record dialogs share: the duration box, and the combo box
# a table fills with a column (on the SQLite data source).
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(DurationComboTests GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/DurationComboTest.cpp LIBS Database_gui Qt6::Test)
kova_test(DatabaseRecordsGuiTests GUI
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/ComboBoxListTest.cpp
  LIBS Database_gui)
