# The controller packet link and memory map, against the simulated controller
# on pseudo-terminals.
kova_test(ControllerLinkTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/PackageTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLinkTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MemoryMapTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerSimulatorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerScanTest.cpp
  LIBS CPB controllersim)

kova_fuzzer(PackageReaderFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PackageReaderFuzz.cpp
  LIBS CPB)
