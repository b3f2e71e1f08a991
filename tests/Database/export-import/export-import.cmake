# Session database files written and read back, and the export and import
# of stored sessions on the SQLite data source with a data folder of the
# test's own; the file reader under the fuzzer.
kova_test(SessionExchangeTests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionExchangeTest.cpp
  LIBS Database app_core)

kova_fuzzer(SessionFileFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionFileFuzz.cpp
  LIBS Database)
