# The algorithm record: defaults, key matching and comparison.
kova_test(AlgorithmRecordTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AlgorithmRecordTest.cpp
  LIBS config)
