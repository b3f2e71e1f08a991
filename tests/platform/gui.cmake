kova_test(PlatformGuiTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/QtMessageAskerTest.cpp ${CMAKE_CURRENT_LIST_DIR}/QtPrintDialogAskerTest.cpp
  LIBS platform_gui)
