# The windowed side of the settings: the front end of the transfer to
# hand-held controllers, which opens its own windows over a parent, and the
# configuration dialog's buttons that hand it the edited record.
kova_library(config_gui GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CPBTransfer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConfigurationTransfer.cpp
  PUBLIC_LIBS config Rodezir Qt6::Widgets)
