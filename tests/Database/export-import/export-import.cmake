# Session database files written and read back, and the export and import
# of stored sessions on the SQLite data source with a data folder of the
# test's own; the file reader under the fuzzer.
kova_test(SessionExchangeTests
  SOURCES RecordsFixture.cpp SessionFileTest.cpp SessionExchangeTest.cpp
  LIBS Database)

kova_fuzzer(SessionFileFuzzer
  SOURCES SessionFileFuzz.cpp
  LIBS Database)
