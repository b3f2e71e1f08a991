# The live graph panel of a session: its template, the displays beside the
# curves, the layout of its graph area, its buttons, zoom list, scroll bar
# and print windows (core).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LivePanelTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiveDisplays.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiveGraphLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiveButtons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiveZoom.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphScrollRange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphPrintWindow.cpp)
target_link_libraries(app_core PUBLIC gettext_layer)

# The panel itself (windowed).
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SessionGraphView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EcgRhythmBox.cpp)
endif()

# The session window: its tabs and the manager's window operations (windowed).
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SessionManagerTabView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowedSessionManager.cpp)
endif()
