# The shell's building blocks: menus built in code, the tooltip texts and
# the build date (core); the child frames, the dialogs they host, the save
# question and the tooltip answer of every window (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MenuTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GetTextMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BuildDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/idMap.cpp)
target_link_libraries(app_core PUBLIC gettext_layer)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ChildFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowLock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveSessionDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolTipAnswer.cpp)
endif()
