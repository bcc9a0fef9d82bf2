# The automation face of forms and controls (Win32 only): what COM libraries
# such as the flat look are handed in place of a form.
if(CORVELLA_WIN32)
  add_library(corvella_forms_automation STATIC ${CMAKE_CURRENT_LIST_DIR}/automation.cpp)
  target_link_libraries(corvella_forms_automation PUBLIC corvella_forms corvella_com_client oleaut32 ole32 uuid)
endif()
