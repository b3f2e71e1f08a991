# The report list control: its cell encoding and data model, keys, wheel,
# editing, sorting, notifications, the flat header and the tip, on the
# offscreen platform. The debriefing-like list is saved as
# <build>/tests/controls/report-debriefing.png for a person to look at.
if(KOVA_TESTS AND KOVA_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(ReportCtrlTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ReportCellCodecTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReportCtrlTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlatHeaderTest.cpp
  LIBS reportctrl Qt6::Test)

# The row text reader runs without windows, so the fuzz build compiles it directly.
kova_fuzzer(ReportCellCodecFuzzer
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ReportCellCodecFuzz.cpp
    ${PROJECT_SOURCE_DIR}/src/controls/reportctrl/ReportCellCodec.cpp)
if(KOVA_FUZZ)
  target_include_directories(ReportCellCodecFuzzer PRIVATE ${PROJECT_SOURCE_DIR}/src)
endif()
