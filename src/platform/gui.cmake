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
    ${CMAKE_CURRENT_LIST_DIR}/WaitCursor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LockKeys.cpp
  PUBLIC_LIBS platform Qt6::Widgets Qt6::PrintSupport)
# The keyboard's lock indicators are read from the X display where there is one.
if(TARGET platform_gui)
  find_package(X11)
  if(X11_FOUND)
    target_compile_definitions(platform_gui PRIVATE KOVA_HAVE_X11)
    target_link_libraries(platform_gui PRIVATE X11::X11)
  endif()
endif()
