# The graphs of a session: curve descriptions, the curve documents with their
# marks and mark sections, the shared display switches, the time axis and the
# panes' coordinates and texts (core); the event toolbar, the axis window and
# the graph panes (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolbarButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MarkSection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphDoc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphToggles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeAxis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphLabelLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphText.cpp)
target_link_libraries(app_core PUBLIC comm config Database)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ToolBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AxisCtrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GraphView.cpp)
endif()
