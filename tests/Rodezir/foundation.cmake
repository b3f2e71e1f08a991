kova_test(FoundationTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/gstringUtilTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SignalConnectionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegistryKeyTest.cpp
  LIBS Rodezir)

kova_fuzzer(Utf8DecodeFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Utf8DecodeFuzzer.cpp
  LIBS Rodezir)
kova_fuzzer(ArchiveCodecFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArchiveCodecFuzzer.cpp
  LIBS Rodezir)

kova_test(FileUtilTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FileUtilTest.cpp
  LIBS Rodezir)
