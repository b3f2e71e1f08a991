# The shell: start-up, the main window and its commands, and the frames and
# dialogs every window of the program is built on.
#
# The application: the metronome's timing and where the help pages lie
# (core); start-up, the main window, its commands and the metronome on the
# tick with every outside service answered by the test; the help window and
# the About box.
kova_test(ApplicationCoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MetronomeTest.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpTopicsTest.cpp
  LIBS app_core)

if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(ApplicationTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CprTrainingAppTest.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpAndAboutTest.cpp
  LIBS app_gui Qt6::Test)
if(TARGET ApplicationTests)
  target_include_directories(ApplicationTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm)
endif()

# The demonstration on a freshly set-up station's records (a temporary
# SQLite data source): a built-in scenario carried from start-up to its
# stored session on the recorded-data ports by the main window's own timer.
kova_test(DemoSessionTests GUI
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DemoSessionTest.cpp
  LIBS app_gui Qt6::Test
  LABELS device)
if(TARGET DemoSessionTests)
  target_include_directories(DemoSessionTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  add_dependencies(DemoSessionTests recorded-data)
endif()

# The station after its last session on every road to that end, on the
# demonstration station: New session comes back, or the Run-course window.
kova_test(LastSessionRoadsTests GUI
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LastSessionRoadsTest.cpp
  LIBS app_gui Qt6::Test
  LABELS device)
if(TARGET LastSessionRoadsTests)
  target_include_directories(LastSessionRoadsTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  add_dependencies(LastSessionRoadsTests recorded-data)
endif()

# Help opened from the configuration dialog and the algorithm editor on a
# real X display with a window manager, with real clicks and wheel turns.
kova_x_display_test(HelpInXDisplayTests
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpInXDisplayTest.cpp
  LIBS app_gui propertyPage Qt6::Test)
if(TARGET HelpInXDisplayTests)
  target_include_directories(HelpInXDisplayTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
endif()

# The shell's menus built in code, tooltip texts and build date; its frames,
# the dialogs they host, the save question and the tooltips of the windows.
kova_test(ShellCoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuTemplateTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ShellCoreTest.cpp
  LIBS app_core)

kova_test(ShellFrameTests GUI
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/TestMainWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildFrameTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveSessionDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolTipAnswerTest.cpp
  LIBS app_gui Qt6::Test)

# The application's start-up state.
kova_test(AppStartupTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CprTrainingAppStateTest.cpp
  LIBS app_core)

kova_fuzzer(CommandLineFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommandLineFuzz.cpp
  LIBS app_core)

# The session window closed by its frame's close box (and Ctrl+F4) on a real
# X display with a window manager, "Save session?" answered by real clicks.
kova_x_display_test(LastSessionInXDisplayTests
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LastSessionInXDisplayTest.cpp
  LIBS app_gui Qt6::Test)
if(TARGET LastSessionInXDisplayTests)
  target_include_directories(LastSessionInXDisplayTests PRIVATE
    ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
  add_dependencies(LastSessionInXDisplayTests recorded-data)
endif()
