# The record editors: the algorithm, person and scenario editors and the
# scenario event editors, with their dialog templates.
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialogTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AlgorithmDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PersonDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditEventsDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventListView.cpp)
  target_link_libraries(Database_gui PUBLIC controls platform_gui config)
endif()
