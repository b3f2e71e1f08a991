# The application: start-up, the main window with its commands, 20 ms timer
# and metronome, the online help and the About box. The metronome's timing,
# the commands' menu, toolbar, keys and enabling rules, and where the help
# pages lie need no window (core).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Metronome.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpTopics.cpp)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CprTrainingApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MetronomeSound.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StationWindows.cpp)
  target_link_libraries(app_gui PUBLIC platform_ipc Qt6::PrintSupport)

  # The metronome's click, synthesised by tools/sounds, as ":/kova/wave/231".
  set(_sounds_dir ${CMAKE_CURRENT_BINARY_DIR}/station-waves)
  add_custom_command(
    OUTPUT ${_sounds_dir}/231
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_sounds_dir}
    COMMAND $<TARGET_FILE:station-sounds> click ${_sounds_dir}/231
    DEPENDS station-sounds
    COMMENT "Synthesising the metronome's click"
    VERBATIM)
  set_source_files_properties(${_sounds_dir}/231 PROPERTIES GENERATED TRUE)
  qt_add_resources(app_gui "station_waves"
    PREFIX "/kova/wave"
    BASE ${_sounds_dir}
    FILES ${_sounds_dir}/231)

  # The online help: a folder of pages per language, installed beside the program.
  set(KOVA_HELP_DIR ${PROJECT_SOURCE_DIR}/resources/help CACHE INTERNAL "Folder of the help folders")
  install(DIRECTORY ${KOVA_HELP_DIR}/ DESTINATION .)
endif()
