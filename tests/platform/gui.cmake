kova_test(PlatformGuiTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/QtMessageAskerTest.cpp
  LIBS platform_gui)
