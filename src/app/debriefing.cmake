# The debriefing: the judgement of a session row by row (core).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DebriefFigures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DebriefEvaluation.cpp)
target_link_libraries(app_core PUBLIC comm config gettext_layer)
