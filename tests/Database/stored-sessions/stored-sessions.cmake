# The stored sessions: the session manager's search on the SQLite data
# source and, under the records_postgresql fixture, on PostgreSQL; the
# session manager and the session dialog windows with their screenshots.
kova_test(SessionSearchTests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/SessionSearchTest.cpp
  LIBS Database)
kova_test_on_postgresql(SessionSearchTests)

kova_test(StoredSessionDialogTests GUI
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowseSessionsDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialogTest.cpp
  LIBS Database_gui app_core Qt6::Test)

# The records on a full disk: a tmpfs in a mount namespace of each test
# process's own (unprivileged, also under `unshare -r`).
kova_test(FullDiskRecordsTests GUI
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/support/PrivateMountsTestMain.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullDiskRecordsTest.cpp
  LIBS Database_gui Qt6::Test
  LABELS fulldisk)
if(TARGET FullDiskRecordsTests)
  target_compile_definitions(FullDiskRecordsTests PRIVATE KOVA_PRIVATE_MOUNTS_GUI)
endif()

# What a killed station left in its data folder, set right at start-up,
# which records the data folder belongs to, and a data file's change that
# fails: on the SQLite data source and on the throwaway PostgreSQL server.
kova_test(DataFolderRecoveryTests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFileChangeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFolderRecoveryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFolderOwnerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFolderMarkTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecoveryLogLineTest.cpp
  LIBS Database)
kova_test_on_postgresql(DataFolderRecoveryTests)

# Kills at random moments while sessions are deleted, imported and exported,
# each followed by the start-up recovery (KOVA_KILL_RUNS sets the kills a
# path; a few dozen by default).
kova_test(StorageKillTests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/KillLoop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StorageKillTest.cpp
  LIBS Database app_core
  LABELS kill)

# The mark of the records a data folder belongs to, read from the folder.
kova_fuzzer(DataFolderMarkFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DataFolderMarkFuzz.cpp
  LIBS Database)
