# The controls the record dialogs share: the combo boxes of durations,
# training modes and approvals, the combo box a table fills with a column,
# and the interfaces through which the records core fills a combo box or a
# scenario's event list.
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ComboBoxList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DurationCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrainingModeCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ApprovalCombo.cpp)
endif()
