# Sending the station's set-up to a hand-held controller and fetching it
# back: the set-up made and checked whole, the seven sending steps and the
# five fetching steps over the memory map.
target_sources(CPB PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CPBMessage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPBSetup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPBSend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPBGet.cpp)
