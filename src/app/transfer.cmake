# The controller transfer's windows, which the program installs at start-up
# behind the configuration dialog's buttons.
if(TARGET app_gui)
  target_link_libraries(app_gui PUBLIC CPB_gui)
endif()
