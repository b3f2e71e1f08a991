kova_test(FoundationTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/gstringUtilTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SignalConnectionTest.cpp
  LIBS Rodezir)
