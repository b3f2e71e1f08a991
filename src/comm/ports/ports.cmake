# The wireless manikin search and the port registry.
target_sources(comm PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WirelessReply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WirelessDiscovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrateManager.cpp)

# The port choice boxes of the dialogs.
kova_library(comm_gui GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PortCombo.cpp
  PUBLIC_LIBS comm Qt6::Widgets)
