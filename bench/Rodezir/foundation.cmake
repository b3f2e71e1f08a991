kova_benchmark(FoundationBench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FoundationBench.cpp
  LIBS Rodezir)
