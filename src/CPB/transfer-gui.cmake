# The windows of the controller transfer: the front end behind the
# configuration dialog's buttons, the two controller selectors and the
# progress window.
kova_library(CPB_gui GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CPBDialogTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgressDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPBSelector.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPBSendSelector.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPGGetSelector.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPBTransferFrontEnd.cpp
  PUBLIC_LIBS CPB config_gui Rodezir_gui controls comm gettext_layer Qt6::Widgets)
# Qt's emit keyword would collide with the station's own signals.
if(TARGET CPB_gui)
  target_compile_definitions(CPB_gui PRIVATE QT_NO_KEYWORDS)
endif()
