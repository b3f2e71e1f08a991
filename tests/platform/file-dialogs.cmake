# The Qt file dialogs behind the station's file dialog interface.
kova_test(PlatformFileDialogTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/QtFileDialogAskerTest.cpp
  LIBS platform_gui)
