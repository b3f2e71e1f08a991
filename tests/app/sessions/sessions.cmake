# Training sessions: the data file, the step with its time limit and lost
# link, the save question, the session manager (core, on links of the
# tests' own); storing and reading sessions on the training records; the
# session's windows.
kova_test(SessionCoreTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SessionDataFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionStepTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionManagerTest.cpp
  LIBS app_core)

kova_test(SessionRecordsTests
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionRecordsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionImportTest.cpp
  LIBS app_core)
kova_test_on_postgresql(SessionRecordsTests)

# Sessions on the port registry: the simulated manikin on a pseudo-terminal
# and the recorded demonstration data.
kova_test(SessionSimulatorTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionSimulatorTest.cpp
  LIBS app_core manikinsim)

# The session's windows: the panel base, the view, the panels from their
# factories, the review panel on the training records.
kova_test(SessionWindowTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionPanelTest.cpp
  LIBS app_gui Qt6::Test)

kova_test(SessionReviewTests GUI
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionReviewTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StartUpRecoveryTest.cpp
  LIBS app_gui Qt6::Test)

foreach(_target SessionCoreTests SessionRecordsTests SessionSimulatorTests SessionWindowTests SessionReviewTests)
  if(TARGET ${_target})
    target_include_directories(${_target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  endif()
endforeach()

kova_fuzzer(SessionDataFileFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionDataFileFuzz.cpp
  LIBS app_core)

# Kills at random moments while sessions are stored, each followed by the
# start-up recovery (KOVA_KILL_RUNS sets the kills; a few dozen by default).
kova_test(SessionStoreKillTests
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_SOURCE_DIR}/tests/Database/KillLoop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionStoreKillTest.cpp
  LIBS app_core
  LABELS kill)
if(TARGET SessionStoreKillTests)
  target_include_directories(SessionStoreKillTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()

# Storing sessions on a full disk: a tmpfs in a mount namespace of each test
# process's own (unprivileged, also under `unshare -r`).
kova_test(FullDiskSessionTests GUI
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/support/PrivateMountsTestMain.cpp
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullDiskSessionTest.cpp
  LIBS app_gui Qt6::Test
  LABELS fulldisk)
if(TARGET FullDiskSessionTests)
  target_include_directories(FullDiskSessionTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  target_compile_definitions(FullDiskSessionTests PRIVATE KOVA_PRIVATE_MOUNTS_GUI)
endif()

# Stations sharing their records on the throwaway PostgreSQL server: station
# processes of the tests' own storing at once, sessions opened, exported and
# imported across stations, and a server that goes away and comes back.
if(KOVA_TESTS)
  add_executable(shared-records-station ${CMAKE_CURRENT_LIST_DIR}/SharedRecordsStation.cpp)
  target_compile_options(shared-records-station PRIVATE ${KOVA_WARNINGS})
  target_include_directories(shared-records-station PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm)
  target_link_libraries(shared-records-station PRIVATE app_core)
endif()
kova_test(SharedRecordsTests
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SharedRecordsTest.cpp
  LIBS app_core)
kova_test_on_postgresql(SharedRecordsTests)
if(TARGET SharedRecordsTests)
  target_include_directories(SharedRecordsTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  target_compile_definitions(SharedRecordsTests PRIVATE
    KOVA_SHARED_RECORDS_STATION="$<TARGET_FILE:shared-records-station>")
  add_dependencies(SharedRecordsTests shared-records-station)
endif()
