# The wireless manikin search and the port registry.
target_sources(comm PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WirelessReply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WirelessDiscovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrateManager.cpp)
