# The measurement store: pipeline, analysers, measurement text and evaluation.
kova_test(CommSessionTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CommSessionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnalyserTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionEvaluationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MeasurementTextTest.cpp
  LIBS comm)

kova_fuzzer(MeasurementTextFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MeasurementTextFuzz.cpp
  LIBS comm)
