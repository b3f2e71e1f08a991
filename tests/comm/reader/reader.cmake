# Manikin reader: frame parsing, sample rate, idle rule, calibration, conversion.
kova_test(CommReaderTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FrameParserTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ManikinReaderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReaderOnLinkTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StopwatchTest.cpp
  LIBS comm
  LABELS device)

kova_fuzzer(FrameParserFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameParserFuzz.cpp
  LIBS comm)

# End to end against the simulated manikin on a pseudo-terminal and loopback TCP.
if(TARGET manikinsim)
  kova_test(CommReaderSimulatorTests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/ReaderSimulatorTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/SimulatedPerformanceTest.cpp
    LIBS comm manikinsim
    LABELS device)
endif()
