# Session lengths and training modes: their texts. The combo boxes that
# choose them lie with the other shared controls in record-controls/.
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Duration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrainingMode.cpp)
