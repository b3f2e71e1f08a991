# The windowed part of the platform layer.
kova_library(platform_gui GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/QtMessageAsker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Beep.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrintDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PdfPrintout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtPrintDialogAsker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PdfPrintDialogAsker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SystemColours.cpp
  PUBLIC_LIBS platform Qt6::Widgets Qt6::PrintSupport)
