# The surveillance view and the ECG rhythm panel: the layout and zoom list
# without windows, and the rhythm panel's state against the simulated manikin.
kova_test(SurveillanceCoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SurveillanceLayoutTest.cpp
  LIBS app_core)

if(TARGET manikinsim)
  kova_test(EcgRhythmStateTests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/EcgRhythmStateTest.cpp
    LIBS app_core comm manikinsim
    LABELS device)
endif()

if(TARGET manikinsim)
  kova_test(EcgRhythmPanelTests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/EcgRhythmPanelTest.cpp
    LIBS app_gui comm manikinsim Qt6::Test
    LABELS device)
  if(TARGET EcgRhythmPanelTests)
    target_compile_definitions(EcgRhythmPanelTests PRIVATE KOVA_CATALOGS="${KOVA_STATION_CATALOGS}")
    add_dependencies(EcgRhythmPanelTests station_catalogs)
  endif()
endif()

kova_test(SurveillanceWindowTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZoomComboTest.cpp
  LIBS app_gui Qt6::Test)

if(TARGET manikinsim)
  kova_test(SurveillanceViewTests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SurveillanceViewTest.cpp
    LIBS app_gui comm manikinsim Qt6::Test
    LABELS device)
  if(TARGET SurveillanceViewTests)
    target_include_directories(SurveillanceViewTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm)
  endif()
endif()

kova_test(SurveillanceCommandTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SurveillanceCommandTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/TestMainWindow.cpp
  LIBS app_gui Qt6::Test)
if(TARGET SurveillanceCommandTests)
  target_include_directories(SurveillanceCommandTests PRIVATE ${CMAKE_SOURCE_DIR}/tests/comm ${CMAKE_SOURCE_DIR}/tests/Database)
endif()
