# The live graph panel's rules without windows.
kova_test(LivePanelRulesTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LivePanelRulesTest.cpp
  LIBS app_core)

kova_test(LivePanelTemplateTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LivePanelTemplateTest.cpp
  LIBS app_gui Qt6::Test)

# The live panel on sessions of links of the tests' own.
kova_test(LivePanelTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionGraphViewTest.cpp
  LIBS app_gui Qt6::Test)
if(TARGET LivePanelTests)
  target_include_directories(LivePanelTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()

# The live panel on the simulated manikin, with the screens saved.
kova_test(LiveSessionPictureTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LiveSessionPictureTest.cpp
  LIBS app_gui manikinsim Qt6::Test
  LABELS device)
if(TARGET LiveSessionPictureTests)
  target_include_directories(LiveSessionPictureTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()

# The session window: its tabs and the manager's window operations.
kova_test(SessionWindowTabsTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionWindowTabsTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/TestMainWindow.cpp
  LIBS app_gui Qt6::Test)
if(TARGET SessionWindowTabsTests)
  target_include_directories(SessionWindowTabsTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()
