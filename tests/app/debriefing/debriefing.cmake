# The debriefing: the judgement of a session row by row, on given figures and
# on sessions the simulated manikin performed through the station's reader.
kova_test(DebriefingTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DebriefEvaluationTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RecommendationListTest.cpp
  LIBS app_core)

if(TARGET manikinsim)
  kova_test(DebriefSessionTests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DebriefSessionTest.cpp
    LIBS app_core comm manikinsim)
  if(TARGET DebriefSessionTests)
    add_dependencies(DebriefSessionTests debrief-table)
    target_include_directories(DebriefSessionTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
    target_compile_definitions(DebriefSessionTests PRIVATE DEBRIEF_TABLE="$<TARGET_FILE:debrief-table>")
  endif()

  # The evaluation list on a real report control, and its printed table.
  kova_test(DebriefReportTests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DebriefReportTest.cpp
    LIBS app_gui app_core comm manikinsim)
  # The debriefing panel in a session's windows.
  kova_test(SessionDebriefViewTests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionDebriefViewTest.cpp
    LIBS app_gui app_core comm manikinsim Qt6::Test)
  foreach(_target DebriefReportTests SessionDebriefViewTests)
    if(TARGET ${_target})
      target_include_directories(${_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
    endif()
  endforeach()
endif()
