# The controls the record dialogs share: the combo boxes of durations,
# training modes and approvals, and the combo box a table fills with a
# column. The interfaces through which the records core fills a combo box or
# a scenario's event list (ComboList, EventListControl) belong to the core
# and stay at the folder's top.
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ComboBoxList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DurationCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrainingModeCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ApprovalCombo.cpp)
endif()
