# A session seen again: the review panel's and the details dialog's
# templates, and the window that shows a stored session's graphs or
# debriefing for the session dialog.
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ReviewDialogTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionDetailsDialog.cpp)
endif()
