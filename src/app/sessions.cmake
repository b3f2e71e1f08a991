# Training sessions: the session with its step, states and data file, its
# manikin link, the session manager.
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionDataFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionPortLink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionRowStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionWindows.cpp)
target_link_libraries(app_core PUBLIC comm config Database)
