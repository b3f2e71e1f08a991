# Printing a session's results: the page plan and the printed texts.
kova_test(PrintPlanTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintPlanTest.cpp ${CMAKE_CURRENT_LIST_DIR}/PrintedTextsTest.cpp
  LIBS app_core)

if(TARGET manikinsim)
  # The printed session on PDF files read back with poppler's tools.
  kova_test(PrintTests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintTest.cpp
    LIBS app_gui app_core comm manikinsim)
  if(TARGET PrintTests)
    target_include_directories(PrintTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
  endif()
endif()
