# Sending and fetching the set-up against the simulated controller, with the
# algorithms in the training records: on the SQLite data source and, under
# the records_postgresql fixture, on the throwaway PostgreSQL server.
kova_test(SetupTransferTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SetupTransferTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
  LIBS CPB controllersim)

if(TARGET SetupTransferTests)
  target_include_directories(SetupTransferTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
  # The station's pictures, drawn where the windows are built: the icons sent
  # are then compared with real ones.
  get_property(pictures GLOBAL PROPERTY KOVA_STATION_PICTURE_TARGETS)
  if(pictures)
    target_link_libraries(SetupTransferTests PRIVATE ${pictures})
    target_compile_definitions(SetupTransferTests PRIVATE KOVA_STATION_PICTURES)
  endif()
endif()
kova_test_on_postgresql(SetupTransferTests)

# The configuration dialog's transfer buttons with the selectors and progress
# windows, against three simulated controllers; screenshots of the windows.
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(TransferWindowsTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TransferWindowsTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
  LIBS CPB_gui propertyPage controllersim Qt6::Test)
if(TARGET TransferWindowsTests)
  target_include_directories(TransferWindowsTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
  target_compile_definitions(TransferWindowsTests PRIVATE QT_NO_KEYWORDS)
endif()
