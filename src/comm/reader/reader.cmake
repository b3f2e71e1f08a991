# The manikin reader: frame parsing, sample rate, idle rule, calibration and conversion.
target_sources(comm PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Stopwatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManikinReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialPortReaderPort.cpp)
