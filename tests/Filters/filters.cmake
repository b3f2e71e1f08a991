kova_test(FiltersTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SlopeFilterTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RunningAverageFilterTest.cpp
  LIBS Filters)
