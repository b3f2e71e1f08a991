# Manikin link: COM ports over pseudo-terminals and wireless manikins over
# loopback TCP, both against the simulated manikin; recorded demonstration data.
if(TARGET manikinsim)
  kova_test(CommLinkTests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/SerialPortComTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/SerialPortWirelessTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/RecordedDataTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/PerformanceGeneratorTest.cpp
    LIBS comm app_core manikinsim
    LABELS device)
  if(TARGET CommLinkTests)
    target_compile_definitions(CommLinkTests PRIVATE
      KOVA_RECORDED_DATA_GENERATOR="$<TARGET_FILE:recorded-data>")
    add_dependencies(CommLinkTests recorded-data)
  endif()
endif()

kova_fuzzer(HandshakeReplyFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HandshakeReplyFuzz.cpp
  LIBS comm)
