# The stored sessions: the session manager's search (core); the session
# manager, the session dialog and their templates (windowed).
target_sources(Database PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SessionSearch.cpp)
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialogTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionListModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowseSessionsDialog.cpp)
  target_link_libraries(Database_gui PUBLIC comm)
endif()
