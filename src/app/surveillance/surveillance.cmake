# The surveillance view and the ECG rhythm panel: the grid and tile layout,
# the zoom windows and the rhythm panel's state (core); the windows (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SurveillanceGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SurveillanceTileGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SurveillanceLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SurveillanceTileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZoomWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EcgRhythmState.cpp)
target_link_libraries(app_core PUBLIC comm gettext_layer)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ZoomCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GraphLabelFont.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EcgRhythmPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SurveillanceTile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sessionManagerMultiView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SurveillanceWindow.cpp)
endif()
