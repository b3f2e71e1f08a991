# The graphs of a session: curve documents, marks and their sections in the
# data file, the display switches (core); the event toolbar (windowed).
kova_test(GraphDocTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/GraphDocTest.cpp
  LIBS app_core)

kova_test(EventToolBarTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EventToolBarTest.cpp
  LIBS app_gui)

kova_fuzzer(MarkSectionFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MarkSectionFuzz.cpp
  LIBS app_core)

# The time axis and the panes' coordinates and texts.
kova_test(GraphAxisTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TimeAxisTest.cpp ${CMAKE_CURRENT_LIST_DIR}/GraphScaleTest.cpp
  LIBS app_core)

# The axis window and the graph panes, with their pictures.
kova_test(GraphPaneTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/GraphPaneTest.cpp ${CMAKE_CURRENT_LIST_DIR}/GraphPictureTest.cpp
  LIBS app_gui manikinsim)
