# Printing a session's results: the page plan.
kova_test(PrintPlanTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintPlanTest.cpp
  LIBS app_core)
