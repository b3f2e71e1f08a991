# Finding the manikins and starting sessions on them: the search and
# calibration window, with the animation it plays (drawn at build time by
# tools/images and compiled in as ":/kova/avi/156"), and the New-session
# window it gives way to, with the record editors that window opens. What
# they decide without a window (a port's line, a calibration run, the
# editors' seams) is core.
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditorSeams.cpp)
target_link_libraries(app_core PUBLIC Database)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CalibrateView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NewSessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDetailsEditors.cpp)
  target_link_libraries(app_gui PUBLIC propertyPage comm_gui)

  set(_animations_dir ${CMAKE_CURRENT_BINARY_DIR}/station-animations)
  add_custom_command(
    OUTPUT ${_animations_dir}/156
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_animations_dir}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:station-animations> ${_animations_dir}
    DEPENDS station-animations
    COMMENT "Drawing the station's animations"
    VERBATIM)
  set_source_files_properties(${_animations_dir}/156 PROPERTIES GENERATED TRUE)
  qt_add_resources(app_gui "station_animations"
    PREFIX "/kova/avi"
    BASE ${_animations_dir}
    FILES ${_animations_dir}/156)
endif()
