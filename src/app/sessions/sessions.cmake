# Training sessions: the session with its step, states and data file, its
# manikin link, the session manager (core); the container that shows a
# session, the panel base, the windows of a session and the review panel
# (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionDataFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionPortLink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionRowStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionWindows.cpp)
target_link_libraries(app_core PUBLIC comm config Database)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SessionView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionWindowSet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDatabaseView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EndSound.cpp)
  target_link_libraries(app_gui PUBLIC Qt6::Multimedia)
endif()
