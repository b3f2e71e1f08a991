# The shell: start-up, the main window with its commands, 20 ms timer and
# metronome, the online help and the About box, and the frames and dialogs
# every window of the program is built on.
#
# What needs no window (core): the start-up state (command line,
# demonstration switch, communication delay, recorded demonstration data),
# the metronome's timing, the commands' menu, toolbar, keys and enabling
# rules, where the help pages lie, menus built in code, the tooltip texts
# and the build date.
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CprTrainingAppState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Metronome.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpTopics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GetTextMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BuildDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/idMap.cpp)
target_link_libraries(app_core PUBLIC gettext_layer comm)

# The windows: the application object and its main window, the help window
# and the About box; the child frames, the dialogs they host, the lock of
# the main window, the save question and the tooltip answer of every window.
# The controller transfer's windows are installed at start-up behind the
# configuration dialog's buttons.
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CprTrainingApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MetronomeSound.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StationWindows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowLock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveSessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolTipAnswer.cpp)
  target_link_libraries(app_gui PUBLIC platform_ipc Qt6::PrintSupport CPB_gui)

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
