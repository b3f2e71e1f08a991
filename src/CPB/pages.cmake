# The controller's data made from the set-up: the debriefing pages with
# their label texts and icon pictures, the bar rows and the plot block.
target_sources(CPB PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LangArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BarGenerator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphGenerator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPBIconStrip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DebriefGenerator.cpp)
target_link_libraries(CPB PUBLIC Database gettext_layer)
