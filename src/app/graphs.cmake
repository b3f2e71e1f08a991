# The graphs of a session: curve descriptions, the curve documents with their
# marks and mark sections, the shared display switches and the time axis
# (core); the event toolbar (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolbarButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MarkSection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphDoc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphToggles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeAxis.cpp)
target_link_libraries(app_core PUBLIC comm config Database)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ToolBar.cpp)
endif()
