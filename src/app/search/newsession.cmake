# The New-session window and the record editors it opens.
target_sources(app_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EditorSeams.cpp)
target_link_libraries(app_core PUBLIC Database)
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NewSessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDetailsEditors.cpp)
  target_link_libraries(app_gui PUBLIC comm_gui)
endif()
