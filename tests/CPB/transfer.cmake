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

# Fetching the set-up onto a full disk: a tmpfs in a mount namespace of each
# test process's own (unprivileged, also under `unshare -r`).
kova_test(FullDiskFetchTests
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/support/PrivateMountsTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullDiskFetchTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
  LIBS CPB controllersim
  LABELS fulldisk)
if(TARGET FullDiskFetchTests)
  target_include_directories(FullDiskFetchTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
endif()
