kova_test(RegistryStoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryStoreTest.cpp
  LIBS platform)

kova_fuzzer(RegistryHiveFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryHiveFuzzer.cpp
  LIBS platform)
