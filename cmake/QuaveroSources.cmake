# Source discovery. Every folder under src/ holds core logic in its top level and
# widget code in a `widgets/` subfolder; the split decides which library a file
# goes into, so that quavero_core never links QtWidgets.
function(quavero_collect_sources out_core out_gui)
  file(GLOB_RECURSE all_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
  set(core)
  set(gui)
  foreach(f IN LISTS all_sources)
    if(f MATCHES "/widgets/")
      list(APPEND gui ${f})
    else()
      list(APPEND core ${f})
    endif()
  endforeach()
  set(${out_core} ${core} PARENT_SCOPE)
  set(${out_gui} ${gui} PARENT_SCOPE)
endfunction()
