# The debriefing over a 60-minute session of 180,000 samples.
kova_benchmark(DebriefingBench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DebriefingBench.cpp
  LIBS app_core comm manikinsim)
if(TARGET DebriefingBench)
  # The scripted manikin link of the reader tests feeds the benchmark's reader.
  target_include_directories(DebriefingBench PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm)
endif()

# The debriefing panel of a live session: refresh and keystroke against the evaluation.
if(TARGET app_gui)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  kova_benchmark(DebriefingPanelBench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DebriefingPanelBench.cpp
    LIBS app_gui app_core manikinsim Qt6::Test)
  if(TARGET DebriefingPanelBench)
    target_include_directories(DebriefingPanelBench PRIVATE ${PROJECT_SOURCE_DIR}/tests/comm ${PROJECT_SOURCE_DIR}/tests/app)
  endif()
endif()
