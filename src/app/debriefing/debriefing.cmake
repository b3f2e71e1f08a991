# The debriefing: the judgement of a session row by row (core).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DebriefFigures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DebriefEvaluation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecommendationList.cpp)
target_link_libraries(app_core PUBLIC comm config gettext_layer)

# The debriefing panel with its evaluation list and printed table (windowed).
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DebriefReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDebriefView.cpp)
  target_link_libraries(app_gui PUBLIC reportctrl)
endif()
