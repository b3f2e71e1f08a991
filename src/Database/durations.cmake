# Session lengths and training modes: their texts (core) and the combo boxes
# the dialogs choose them with, with the approval's (windowed).
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Duration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrainingMode.cpp)
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DurationCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrainingModeCombo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ApprovalCombo.cpp)
endif()
