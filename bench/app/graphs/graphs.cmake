# The graph panes: a full redraw of an hour against one polyline of the same
# points, and the live tick of sixteen sessions.
if(KOVA_GUI)
  kova_benchmark(GraphBench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/GraphBench.cpp
    LIBS app_gui manikinsim Qt6::Widgets)
endif()
if(TARGET GraphBench)
  # The session stand-in of the graph tests.
  target_include_directories(GraphBench PRIVATE ${PROJECT_SOURCE_DIR}/tests/app/graphs)
endif()
