# The six tables of the training records with their records, the session
# record's binary form, and the built-in data installed at start-up.
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RuntimeRandom.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AlgorithmTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AlgorithmRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScenarioTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScenarioEventList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PersonTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CourseRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CourseTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DatabasePatch.cpp)
target_link_libraries(Database PUBLIC config gettext_layer)
