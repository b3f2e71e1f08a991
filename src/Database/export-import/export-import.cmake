# Session database files: the stations' way of handing sessions to each
# other, with the data files and rows they become on import.
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SessionFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFileContents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionExchange.cpp)
