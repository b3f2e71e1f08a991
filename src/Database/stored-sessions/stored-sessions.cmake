# The stored sessions: the session manager's search, each data file changed
# and removed together with its row, what a killed station left in the data
# folder set right at start-up, and which records the data folder belongs to (core); the session manager, the session
# dialog and their templates (windowed).
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SessionSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFileChange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFileRemoval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFolderMark.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFolderOwner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFolderRecovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LostAndFound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordsIdentity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnfinishedExports.cpp)
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialogTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionListModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowseSessionsDialog.cpp)
  target_link_libraries(Database_gui PUBLIC comm)
endif()
