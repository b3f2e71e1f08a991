# The open and save file dialogs: the interface and the tests' asker in the
# core, the Qt dialogs in the windowed part.
target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FileDialog.cpp)
if(TARGET platform_gui)
  target_sources(platform_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/QtFileDialogAsker.cpp)
endif()
