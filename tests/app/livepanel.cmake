# The live graph panel's rules without windows.
kova_test(LivePanelRulesTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LivePanelRulesTest.cpp
  LIBS app_core)

kova_test(LivePanelTemplateTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LivePanelTemplateTest.cpp
  LIBS app_gui Qt6::Test)
