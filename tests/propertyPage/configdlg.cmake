# The configuration dialog: the tab strip, the folder
# dialog with its five pages on a temporary SQLite data source, and a
# screenshot of each page.
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(PropertyPageTests GUI
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    TabStripTest.cpp ConfigurationDialogTest.cpp
  LIBS propertyPage Database_gui Qt6::Test)
if(TARGET PropertyPageTests)
  target_include_directories(PropertyPageTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/Database)
  target_compile_definitions(PropertyPageTests PRIVATE QT_NO_KEYWORDS)
endif()
