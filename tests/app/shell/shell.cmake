# The shell's menus built in code, tooltip texts and build date; its frames,
# the dialogs they host, the save question and the tooltips of the windows.
kova_test(ShellCoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuTemplateTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ShellCoreTest.cpp
  LIBS app_core)

if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(ShellFrameTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TestMainWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildFrameTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveSessionDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolTipAnswerTest.cpp
  LIBS app_gui Qt6::Test)
