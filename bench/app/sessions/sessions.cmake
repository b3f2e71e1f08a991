# Sessions: the manager's tick over many live sessions, and storing a long
# session's data file against plain fprintf of the same text.
kova_benchmark(SessionBench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionBench.cpp
  LIBS app_core manikinsim)
if(TARGET SessionBench)
  # The scripted manikin link of the reader tests feeds every session's reader.
  target_include_directories(SessionBench PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
endif()
